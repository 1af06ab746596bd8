// Drives the Windows program's window from outside, as a user would, through
// the window's own messages; for the window test under Wine and for the
// picture in docs/.
//
//   drive_window wait                 the main window "Draw" is shown
//   drive_window click TEXT           a button of it with this text or tool tip is pressed (BM_CLICK)
//   drive_window shown TEXT           that button is shown
//   drive_window hidden TEXT          fails unless that button is hidden
//   drive_window picture FILE.png     the main window as the screen shows it
//   drive_window confirm TITLE        the message box of that title is answered OK
//   drive_window menu TEXT            the main window's menu item of this text is chosen
//   drive_window in TITLE             the commands after it work in the window of this caption
//   drive_window wheel STEPS          the wheel turned STEPS notches over the preview's centre; the
//                                     preview must change
//   drive_window pan DX,DY            the middle button dragged by (DX, DY) pixels from the
//                                     preview's centre; the preview must change
//   drive_window home                 the Home key in the main window; the preview must show again
//                                     what it showed before the first wheel
//   drive_window status TEXT          the main window's status bar comes to show TEXT in its first part
//   drive_window edit X,Y             a left click in the preview at the drawing point (X, Y) (drawing
//                                     units, the preview fitted as the window fits it to the drawing
//                                     of the current folder): in edit mode an entry, out of it the
//                                     region painted as material; the preview must change
//   drive_window clear                a right click in the preview's centre out of edit mode: the
//                                     painting cleared; the preview must change
//   drive_window key delete           the Delete key in the main window
//   drive_window undo                 Ctrl+Z in the main window, as its accelerator gives it
//
// Commands run in order; each waits up to 30 seconds for what it needs.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "app/forms.h"
#include "app/session.h"
#include "core/platform.h"
#include "raster/png_file.h"
#include "raster/surface.h"
#include "window/win32/controls.h"
#include "window/win32/draw_window.h"

namespace {

using namespace makenc;

constexpr auto kPatience = std::chrono::seconds(30);
constexpr auto kPoll = std::chrono::milliseconds(100);

template <typename Find>
HWND wait_for(Find find) {
  const auto until = std::chrono::steady_clock::now() + kPatience;
  while (std::chrono::steady_clock::now() < until) {
    if (HWND w = find()) return w;
    std::this_thread::sleep_for(kPoll);
  }
  return nullptr;
}

HWND main_window() { return ::FindWindowW(L"makenc_Draw", nullptr); }

// The command of the main window's menu item of that text (the menus of
// another process cannot be read under Wine); 0 for none.
UINT menu_command(const std::string& text) {
  for (std::size_t i = 0; i < kDrawMenus.size(); ++i)
    if (kDrawMenus[i].text == text) return static_cast<UINT>(win32::kDrawMenuIds + static_cast<int>(i));
  return 0;
}

struct Search {
  std::wstring text;
  HWND found = nullptr;
};

BOOL CALLBACK match_text(HWND w, LPARAM param) {
  auto* s = reinterpret_cast<Search*>(param);
  wchar_t text[256] = {};
  ::GetWindowTextW(w, text, 256);
  if (s->text == text) {
    s->found = w;
    return FALSE;
  }
  return TRUE;
}

HWND control(HWND window, const std::string& text) {
  Search s{utf8_to_wide(text)};
  ::EnumChildWindows(window, match_text, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

// What the screen shows in a rectangle (screen coordinates), the screen's
// blue in the low byte.
struct Shot {
  int width = 0, height = 0;
  std::vector<std::uint32_t> pixels;
  bool operator==(const Shot&) const = default;
};

Shot shot(RECT r) {
  const int w = std::max(0, static_cast<int>(r.right - r.left));
  const int h = std::max(0, static_cast<int>(r.bottom - r.top));
  Shot taken{w, h, std::vector<std::uint32_t>(static_cast<std::size_t>(w) * static_cast<std::size_t>(h))};
  if (taken.pixels.empty()) return taken;
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  ::BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  std::copy_n(static_cast<const std::uint32_t*>(bits), taken.pixels.size(), taken.pixels.begin());
  ::SelectObject(memory, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  return taken;
}

bool picture(HWND window, const std::string& file) {
  ::SetForegroundWindow(window);
  ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  RECT r{};
  ::GetWindowRect(window, &r);
  const Shot taken = shot(r);
  Surface surface(taken.width, taken.height, 0);
  for (int y = 0; y < taken.height; ++y)
    for (int x = 0; x < taken.width; ++x) {
      const std::uint32_t p = taken.pixels[static_cast<std::size_t>(y * taken.width + x)];
      // The screen's blue is in the low byte, the surface's red.
      surface.set_pixel(x, y, static_cast<Colour>(((p & 0xFFu) << 16) | (p & 0xFF00u) | ((p >> 16) & 0xFFu)));
    }
  const Status written = write_png(surface, path_from_utf8(file));
  if (!written) std::fprintf(stderr, "drive_window: %s\n", written.error().message.c_str());
  return written.ok();
}

bool fail(const std::string& what) {
  std::fprintf(stderr, "drive_window: %s\n", what.c_str());
  return false;
}

// The preview's part above the status bar, which lies over its bottom.
RECT preview_rect(HWND main) {
  RECT pic{}, status{};
  ::GetWindowRect(::FindWindowExW(main, nullptr, L"makenc_Pic1", nullptr), &pic);
  if (::GetWindowRect(::FindWindowExW(main, nullptr, L"msctls_statusbar32", nullptr), &status) != 0)
    pic.bottom = std::min(pic.bottom, status.top);
  return pic;
}

// Waits until the preview shows what `done` accepts.
template <typename Done>
bool preview_becomes(HWND main, Done done) {
  return wait_for([&] { return done(shot(preview_rect(main))) ? main : nullptr; }) != nullptr;
}

bool run(const std::vector<std::string>& args) {
  std::wstring target;  // the caption of the window worked in; "" for the main window
  Shot fitted;          // the preview before the first wheel
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& command = args[i];
    const bool has_argument = i + 1 < args.size();
    HWND main = wait_for(main_window);
    if (main == nullptr) return fail("the main window Draw did not appear");
    if (command == "wait") continue;
    if (command == "home") {
      // Through the message loop, where the main window's accelerator takes it.
      ::PostMessageW(main, WM_KEYDOWN, VK_HOME, 0);
      if (!preview_becomes(main, [&](const Shot& now) { return now == fitted; }))
        return fail("Home did not bring the fitted view back");
      continue;
    }
    if (command == "clear") {
      const RECT r = preview_rect(main);
      const Shot before = shot(r);
      HWND pic = ::FindWindowExW(main, nullptr, L"makenc_Pic1", nullptr);
      POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
      ::ScreenToClient(pic, &centre);
      ::PostMessageW(pic, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(centre.x, centre.y));
      ::PostMessageW(pic, WM_RBUTTONUP, 0, MAKELPARAM(centre.x, centre.y));
      if (!preview_becomes(main, [&](const Shot& now) { return !(now == before); }))
        return fail("the right click did not change the preview");
      continue;
    }
    if (command == "undo") {
      // A key's modifier cannot be posted: the command the accelerator gives.
      ::PostMessageW(main, WM_COMMAND, MAKEWPARAM(win32::kUndoKey, 1), 0);
      continue;
    }
    if (!has_argument) return fail(command + " needs an argument");
    const std::string& argument = args[++i];
    if (command == "in") {
      target = argument == "Draw" ? std::wstring() : utf8_to_wide(argument);
      continue;
    }
    HWND draw = target.empty() ? main : wait_for([&] { return ::FindWindowW(nullptr, target.c_str()); });
    if (draw == nullptr) return fail("no window \"" + wide_to_utf8(target) + "\"");
    if (command == "wheel") {
      const RECT r = preview_rect(main);
      const Shot before = shot(r);
      if (fitted.pixels.empty()) fitted = before;
      const int steps = std::atoi(argument.c_str());
      // The wheel's position comes in screen coordinates.
      ::PostMessageW(main, WM_MOUSEWHEEL, MAKEWPARAM(0, steps * WHEEL_DELTA),
                     MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
      if (!preview_becomes(main, [&](const Shot& now) { return !(now == before); }))
        return fail("the wheel did not change the preview");
      continue;
    }
    if (command == "pan") {
      const RECT r = preview_rect(main);
      const Shot before = shot(r);
      HWND pic = ::FindWindowExW(main, nullptr, L"makenc_Pic1", nullptr);
      int dx = 0, dy = 0;
      if (std::sscanf(argument.c_str(), "%d,%d", &dx, &dy) != 2) return fail("pan needs DX,DY");
      POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
      ::ScreenToClient(pic, &centre);
      ::PostMessageW(pic, WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(centre.x, centre.y));
      ::PostMessageW(pic, WM_MOUSEMOVE, MK_MBUTTON, MAKELPARAM(centre.x + dx / 2, centre.y + dy / 2));
      ::PostMessageW(pic, WM_MOUSEMOVE, MK_MBUTTON, MAKELPARAM(centre.x + dx, centre.y + dy));
      ::PostMessageW(pic, WM_MBUTTONUP, 0, MAKELPARAM(centre.x + dx, centre.y + dy));
      if (!preview_becomes(main, [&](const Shot& now) { return !(now == before); }))
        return fail("the middle button did not move the preview");
      continue;
    }
    if (command == "edit") {
      double x = 0, y = 0;
      if (std::sscanf(argument.c_str(), "%lf,%lf", &x, &y) != 2) return fail("edit needs X,Y");
      HWND pic = ::FindWindowExW(main, nullptr, L"makenc_Pic1", nullptr);
      RECT client{};
      ::GetClientRect(pic, &client);
      auto session = open_session(std::filesystem::current_path());
      if (!session) return fail("the drawing of the current folder: " + session.error().message);
      redraw(*session, client.right, client.bottom);
      const PreviewFit& f = session->preview.fit;
      const int px = static_cast<int>(std::lround(f.Scr_x0 + to_screen_len(f, x)));
      const int py = static_cast<int>(std::lround(f.Scr_y0 - to_screen_len(f, y)));
      const Shot before = shot(preview_rect(main));
      ::PostMessageW(pic, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(px, py));
      ::PostMessageW(pic, WM_LBUTTONUP, 0, MAKELPARAM(px, py));
      if (!preview_becomes(main, [&](const Shot& now) { return !(now == before); }))
        return fail("the left click did not change the preview");
      continue;
    }
    if (command == "key") {
      if (argument != "delete") return fail("unknown key " + argument);
      // Through the message loop, where the main window's accelerator takes it.
      ::PostMessageW(main, WM_KEYDOWN, VK_DELETE, 0);
      continue;
    }
    if (command == "status") {
      HWND bar = ::FindWindowExW(main, nullptr, L"msctls_statusbar32", nullptr);
      std::string shown;
      // A status bar answers WM_GETTEXT with its first part, across processes.
      const auto shows = [&] {
        wchar_t text[1024] = {};
        ::SendMessageW(bar, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
        shown = wide_to_utf8(text);
        return shown == argument ? bar : nullptr;
      };
      if (bar == nullptr || wait_for(shows) == nullptr)
        return fail("the status bar shows \"" + shown + "\", not \"" + argument + "\"");
      continue;
    }
    if (command == "menu") {
      const UINT id = menu_command(argument);
      if (id == 0) return fail("no menu item \"" + argument + "\"");
      ::PostMessageW(main, WM_COMMAND, id, 0);
      continue;
    }
    if (command == "click" || command == "shown") {
      HWND button = wait_for([&] {
        HWND b = control(draw, argument);
        return b != nullptr && ::IsWindowVisible(b) ? b : nullptr;
      });
      if (button == nullptr) return fail("no button \"" + argument + "\" is shown");
      // Posted: a handler that shows a message box returns only once it is answered.
      if (command == "click") ::PostMessageW(button, BM_CLICK, 0, 0);
    } else if (command == "hidden") {
      HWND button = control(draw, argument);
      if (button == nullptr || ::IsWindowVisible(button)) return fail("\"" + argument + "\" is not hidden");
    } else if (command == "picture") {
      if (!picture(draw, argument)) return false;
    } else if (command == "confirm") {
      const std::wstring title = utf8_to_wide(argument);
      HWND box = wait_for([&] { return ::FindWindowW(L"#32770", title.c_str()); });
      if (box == nullptr) return fail("no message box \"" + argument + "\"");
      ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    } else {
      return fail("unknown command " + command);
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) { return run(makenc::command_line_arguments(argc, argv)) ? 0 : 1; }
