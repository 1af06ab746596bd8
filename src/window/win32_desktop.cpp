// The desktop tool on Windows, with the system's own controls: the main
// window "Draw" (tool bar, preview "Pic1", status bar with its clock, menus)
// and the dialogs "加工指示" (kakou) and "ファイル設定" (F_set). Layout and
// handler logic come from app/forms.h and app/session.h; this file only
// creates the controls, paints and passes events on.
#include <windows.h>
// After windows.h:
#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/forms.h"
#include "app/session.h"
#include "app/view_control.h"
#include "core/constants.h"
#include "core/platform.h"
#include "window/desktop.h"
#include "window/win32_controls.h"

namespace makenc {

namespace {

using win32::px;

constexpr int kDrawIds = 100;
constexpr int kKakouIds = 300;
constexpr int kFSetIds = 500;
constexpr int kMenuIds = win32::kDrawMenuIds;
// The command of the Home key, from the main window's accelerator.
constexpr int kHomeKey = 800;
constexpr UINT_PTR kClockTimer = 1;
constexpr UINT kClockTickMs = 1000;

// The dialogs that are open, for the keyboard (tab, enter) in them.
std::vector<HWND>& open_dialogs() {
  static std::vector<HWND> d;
  return d;
}

void forget_dialog(HWND dialog) { std::erase(open_dialogs(), dialog); }

// The signed pixel position of a mouse message.
int mouse_x(LPARAM lp) { return static_cast<short>(LOWORD(lp)); }
int mouse_y(LPARAM lp) { return static_cast<short>(HIWORD(lp)); }

// ---------------------------------------------------------------- kakou

class Kakou {
 public:
  Kakou(Session& session, HWND owner) : session_(session) {
    window_ = win32::create_window(L"makenc_kakou", kKakouForm, WS_CAPTION | WS_SYSMENU | WS_POPUP, owner,
                                   nullptr, this);
    for (const ControlSpec& c : kKakouForm.controls) win32::create_control(window_, kKakouForm, c, kKakouIds);
    Form_Load();
    open_dialogs().push_back(window_);
    ::ShowWindow(window_, SW_SHOW);
    ::SetFocus(box("S_com"));
  }

  HWND window() const { return window_; }

  static LRESULT handle(void* self, HWND w, UINT message, WPARAM wp, LPARAM lp) {
    auto* k = static_cast<Kakou*>(self);
    switch (message) {
      case WM_COMMAND:
        if (HIWORD(wp) == BN_CLICKED) {
          const ControlSpec* c = win32::control_of(kKakouForm, LOWORD(wp), kKakouIds);
          if (c != nullptr && c->name == "S_com") k->S_com_Click();
          if ((c != nullptr && c->name == "escape") || LOWORD(wp) == IDCANCEL) k->escape_Click();
        }
        return 0;
      case WM_CLOSE: k->escape_Click(); return 0;
      case WM_NCDESTROY:
        forget_dialog(w);
        delete k;
        return 0;
      default: return ::DefWindowProcW(w, message, wp, lp);
    }
  }

 private:
  HWND box(std::string_view name) const {
    return ::GetDlgItem(window_,
                        kKakouIds + static_cast<int>(&kKakouForm[name] - kKakouForm.controls.data()));
  }

  void Form_Load() {
    for (const BoxText& b : kakou_box_texts(session_.settings)) win32::set_text(box(b.box), b.text);
  }

  void S_com_Click() {
    const Status saved = save_kakou([&](std::string_view name) { return win32::text_of(box(name)); },
                                    session_.folder, session_.settings);
    // On failure the dialog stays open so that what was typed is not lost.
    if (!saved) return win32::inform(window_, kKakouForm.caption, saved.error().message);
    ::DestroyWindow(window_);
  }

  void escape_Click() { ::DestroyWindow(window_); }

  Session& session_;
  HWND window_ = nullptr;
};

// ---------------------------------------------------------------- F_set

class FSet {
 public:
  FSet(const std::filesystem::path& folder, HWND owner) : folder_(folder) {
    window_ = win32::create_window(L"makenc_F_set", kFSetForm, WS_CAPTION | WS_SYSMENU | WS_POPUP, owner,
                                   nullptr, this);
    for (const ControlSpec& c : kFSetForm.controls) {
      HWND control = win32::create_control(window_, kFSetForm, c, kFSetIds);
      if (c.name == "RTB1") text_ = control;
    }
    // One line below the text box says when a file is new or unreadable.
    note_ = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT, px(240),
                              px(kFSetForm.client_height - 90), px(5415), px(300), window_, nullptr,
                              ::GetModuleHandleW(nullptr), nullptr);
    ::SendMessageW(note_, WM_SETFONT, reinterpret_cast<WPARAM>(win32::style().font), TRUE);
    RECT r{};
    ::GetWindowRect(window_, &r);
    ::SetWindowPos(window_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top + px(300),
                   SWP_NOMOVE | SWP_NOZORDER);
    open_dialogs().push_back(window_);
  }

  void show() {
    ::ShowWindow(window_, SW_SHOW);
    ::SetForegroundWindow(window_);
  }

  static LRESULT handle(void* self, HWND w, UINT message, WPARAM wp, LPARAM lp) {
    auto* f = static_cast<FSet*>(self);
    switch (message) {
      case WM_COMMAND:
        if (HIWORD(wp) == BN_CLICKED) {
          const ControlSpec* c = win32::control_of(kFSetForm, LOWORD(wp), kFSetIds);
          if (c == nullptr) {
            if (LOWORD(wp) == IDCANCEL) f->CancelButton_Click();
          } else if (c->name == "OKButton") {
            f->OKButton_Click();
          } else if (c->name == "CancelButton") {
            f->CancelButton_Click();
          } else if (!template_file_of(c->name).empty()) {
            f->option_Click(c->name);
          }
        }
        return 0;
      case WM_CLOSE: f->CancelButton_Click(); return 0;
      case WM_NCDESTROY:
        forget_dialog(w);
        ::SetWindowLongPtrW(w, GWLP_USERDATA, 0);
        return 0;
      default: return ::DefWindowProcW(w, message, wp, lp);
    }
  }

 private:
  // hed_op_Click, sta_op_Click, sta_opM_Click, end_op_Click, foot_op_Click:
  // the option's file, always reloaded from the disk.
  void option_Click(std::string_view option) {
    Cur_file_ = template_file_of(option);
    const TemplateShown shown = load_template(folder_, Cur_file_);
    std::string text;
    for (char c : shown.text) text += c == '\n' ? std::string("\r\n") : std::string(1, c);
    win32::set_text(text_, text);
    win32::set_text(note_, shown.note);
  }

  void OKButton_Click() {
    if (Cur_file_.ends_with("ini")) {
      const Status saved = save_template(folder_, Cur_file_, win32::text_of(text_));
      // The editor stays open with the text, so nothing typed is lost.
      if (!saved) return win32::inform(window_, kFSetForm.caption, saved.error().message);
      win32::set_text(note_, "");
    }
    ::ShowWindow(window_, SW_HIDE);
  }

  void CancelButton_Click() { ::ShowWindow(window_, SW_HIDE); }

  std::filesystem::path folder_;
  std::string Cur_file_;
  HWND window_ = nullptr;
  HWND text_ = nullptr;
  HWND note_ = nullptr;
};

// ---------------------------------------------------------------- Draw

// The colours of the surface (red in the low byte) as a device-independent
// bitmap takes them (blue in the low byte).
std::uint32_t to_dib(Colour c) {
  const auto u = static_cast<std::uint32_t>(c);
  return ((u & 0xFFu) << 16) | (u & 0xFF00u) | ((u >> 16) & 0xFFu);
}

class Draw {
 public:
  Draw(Session& session, int& exit_code) : session_(session), exit_code_(exit_code) {
    HMENU bar = build_menus();
    window_ = win32::create_window(L"makenc_Draw", kDrawForm, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, nullptr,
                                   bar, this);
    tool_bar_ = ::CreateWindowExW(
        0, L"makenc_Toolbar1", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0,
        px(kDrawForm.client_width), px(kToolBarHeight), window_, nullptr, ::GetModuleHandleW(nullptr), this);
    for (std::size_t i = 0; i < kDrawForm.controls.size(); ++i) {
      const ControlSpec& c = kDrawForm.controls[i];
      HWND control = win32::create_control(tool_bar_, kDrawForm, c, kDrawIds);
      if (c.kind == ControlKind::PictureButton) add_tool_tip(control, c.text);
      // A box reaches to the next control at most: that one lies above it.
      const bool next_in_row = i + 1 < kDrawForm.controls.size() && kDrawForm.controls[i + 1].top == c.top;
      const int reach = next_in_row ? std::min(c.width, kDrawForm.controls[i + 1].left - c.left) : c.width;
      if (c.kind == ControlKind::CheckBox) win32::fit_caption(control, px(reach));
    }
    pic_ = ::CreateWindowExW(0, L"makenc_Pic1", L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, 0,
                             window_, nullptr, ::GetModuleHandleW(nullptr), this);
    status_ = ::CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, 0,
                                window_, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::SendMessageW(status_, WM_SETFONT, reinterpret_cast<WPARAM>(win32::style().font), TRUE);
    ::SendMessageW(status_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(win32::wide(kStatusText).c_str()));
    ::SetTimer(window_, kClockTimer, kClockTickMs, nullptr);
    show_clock();
    check("Check1", session_.options.check_drawing);
    check("Check2", session_.options.joints);
    check("out_che", session_.options.skip_outline);
    check("every_part", session_.every_part_material);
    show_makeNC();
  }

  HWND window() const { return window_; }

  // The end of start-up: ticks the box of every layer that holds entities.
  void Form_Load() {
    for (int k = 0; k < kLayerCount; ++k)
      if (session_.options.layers[static_cast<std::size_t>(k)]) check("LYc" + std::to_string(k), true);
    ::ShowWindow(window_, SW_SHOW);
    Form_Resize();
  }

  static LRESULT handle(void* self, HWND w, UINT message, WPARAM wp, LPARAM lp) {
    auto* d = static_cast<Draw*>(self);
    switch (message) {
      case WM_SIZE:
        if (d->status_ != nullptr) d->Form_Resize();
        return 0;
      case WM_TIMER: d->show_clock(); return 0;
      case WM_COMMAND: d->command(LOWORD(wp), HIWORD(wp)); return 0;
      // The wheel comes to the window with the focus, a child's passes up.
      case WM_MOUSEWHEEL: d->Pic1_MouseWheel(wp, lp); return 0;
      case WM_CLOSE: d->end_Click(); return 0;
      case WM_DESTROY:
        ::KillTimer(w, kClockTimer);
        ::PostQuitMessage(0);
        return 0;
      default: return ::DefWindowProcW(w, message, wp, lp);
    }
  }

  // The tool bar hands the clicks of its controls on and paints the buttons.
  static LRESULT handle_tool_bar(void* self, HWND w, UINT message, WPARAM wp, LPARAM lp) {
    auto* d = static_cast<Draw*>(self);
    switch (message) {
      case WM_COMMAND: d->command(LOWORD(wp), HIWORD(wp)); return 0;
      case WM_DRAWITEM: paint_button(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp)); return TRUE;
      case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(w, &ps);
        RECT r{};
        ::GetClientRect(w, &r);
        ::FillRect(dc, &r, ::GetSysColorBrush(COLOR_BTNFACE));
        ::DrawEdge(dc, &r, BDR_RAISEDINNER, BF_BOTTOM);
        ::EndPaint(w, &ps);
        return 0;
      }
      default: return ::DefWindowProcW(w, message, wp, lp);
    }
  }

  static LRESULT handle_preview(void* self, HWND w, UINT message, WPARAM wp, LPARAM lp) {
    auto* d = static_cast<Draw*>(self);
    switch (message) {
      case WM_PAINT: d->paint_preview(w); return 0;
      case WM_ERASEBKGND: return 1;
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN: d->Pic1_MouseDown(message == WM_LBUTTONDOWN, mouse_x(lp), mouse_y(lp)); return 0;
      case WM_MBUTTONDOWN:
        ::SetCapture(w);
        start_pan(d->view_, mouse_x(lp), mouse_y(lp));
        return 0;
      case WM_MBUTTONUP: ::ReleaseCapture(); return 0;
      case WM_CAPTURECHANGED: end_pan(d->view_); return 0;
      case WM_MOUSEMOVE: d->Pic1_MouseMove(mouse_x(lp), mouse_y(lp)); return 0;
      case WM_MOUSEWHEEL: d->Pic1_MouseWheel(wp, lp); return 0;
      default: return ::DefWindowProcW(w, message, wp, lp);
    }
  }

 private:
  HMENU build_menus() {
    HMENU bar = ::CreateMenu();
    HMENU file = nullptr;
    for (std::size_t i = 0; i < kDrawMenus.size(); ++i) {
      const MenuSpec& m = kDrawMenus[i];
      const auto id = static_cast<UINT_PTR>(kMenuIds + static_cast<int>(i));
      if (m.name == "file") {
        file = ::CreatePopupMenu();
        ::AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(file),
                      win32::wide(m.text).c_str());
      } else if (m.menu.empty()) {
        ::AppendMenuW(bar, MF_STRING, id, win32::wide(m.text).c_str());
      } else {
        ::AppendMenuW(file, MF_STRING, id, win32::wide(m.text).c_str());
      }
    }
    return bar;
  }

  void add_tool_tip(HWND control, std::string_view text) {
    if (tips_ == nullptr)
      tips_ = ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr,
                                ::GetModuleHandleW(nullptr), nullptr);
    tip_texts_.push_back(win32::wide(text));
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = tool_bar_;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = tip_texts_.back().data();
    ::SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }

  HWND control(std::string_view name) const {
    return ::GetDlgItem(tool_bar_, kDrawIds + static_cast<int>(&kDrawForm[name] - kDrawForm.controls.data()));
  }

  void check(const std::string& name, bool ticked) {
    ::SendMessageW(control(name), BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  bool ticked(std::string_view name) const {
    return ::SendMessageW(control(name), BM_GETCHECK, 0, 0) == BST_CHECKED;
  }

  void command(int id, int code) {
    if (id == kHomeKey) return show_fitted();
    if (id >= kMenuIds) {
      const std::string_view item = kDrawMenus[static_cast<std::size_t>(id - kMenuIds)].name;
      if (item == "hed_ini") hed_ini_Click();
      if (item == "set_ini") set_ini_Click();
      if (item == "end") end_Click();
      return;
    }
    const ControlSpec* c = win32::control_of(kDrawForm, id, kDrawIds);
    if (c == nullptr || code != BN_CLICKED) return;
    const std::string_view n = c->name;
    if (n == "auto") auto_Click();
    if (n == "R_drew") R_drew_Click();
    if (n == "makeNC") makeNC_Click();
    if (tick_option(session_, n, ticked(n))) return;
    if (n == "order_numbers") order_numbers_Click(ticked(n));
    if (n.starts_with("LYc")) layer_Click(n[3] - '0', ticked(n));
  }

  // The full redraw at the preview's place in the window.
  void Form_Resize() {
    RECT client{};
    ::GetClientRect(window_, &client);
    ::MoveWindow(tool_bar_, 0, 0, client.right, px(kToolBarHeight), TRUE);
    ::SendMessageW(status_, WM_SIZE, 0, 0);
    // The text, the cursor's position and the clock.
    const int clock_left = std::max(0, static_cast<int>(client.right) - px(1200));
    const int parts[3] = {std::max(0, clock_left - px(kCursorWidth)), clock_left, -1};
    ::SendMessageW(status_, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
    const PixelRect pic = preview_place(client.right, client.bottom);
    ::MoveWindow(pic_, pic.left, pic.top, pic.width, pic.height, FALSE);
    // The status bar lies over the bottom of the preview, as the tool bar
    // over its top, so the preview keeps the size it is computed at.
    ::SetWindowPos(status_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    redraw(session_, pic.width, pic.height);
    fit_view(view_, session_);
    ::InvalidateRect(pic_, nullptr, FALSE);
    show_clock();
  }

  void show_clock() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    const std::wstring text = win32::wide(clock_text(now.wHour, now.wMinute));
    ::SendMessageW(status_, SB_SETTEXTW, kClockPart, reinterpret_cast<LPARAM>(text.c_str()));
  }

  void show_makeNC() { ::ShowWindow(control("makeNC"), session_.makeNC_visible ? SW_SHOW : SW_HIDE); }

  void auto_Click() {
    run_assignment(session_);
    measure_job(session_);
    const std::wstring text = win32::wide(status_text(session_.summary, session_.assignment.warnings));
    ::SendMessageW(status_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
    show_makeNC();
    ::InvalidateRect(pic_, nullptr, FALSE);
  }

  void R_drew_Click() {
    reset_assignment(session_);
    show_makeNC();
    show_fitted();
  }

  // R_drew and the Home key.
  void show_fitted() {
    fit_view(view_, session_);
    ::InvalidateRect(pic_, nullptr, FALSE);
  }

  void order_numbers_Click(bool on) {
    view_.order_numbers = on;
    ::InvalidateRect(pic_, nullptr, FALSE);
  }

  void makeNC_Click() {
    const Result<NcWritten> written = make_nc(session_);
    if (!written) return win32::inform(window_, "NCデータ作成", written.error().message);
    ::MessageBoxW(window_, win32::wide(completion_text(written.value())).c_str(), L"確認", MB_OK);
    exit_code_ = 0;
    ::DestroyWindow(window_);
  }

  void layer_Click(int k, bool on) {
    session_.options.layers[static_cast<std::size_t>(k)] = on;
    Form_Resize();
  }

  void Pic1_MouseDown(bool left, int x, int y) {
    if (left) {
      left_click_in_view(view_, session_, x, y);
    } else {
      right_click_in_view(view_, session_, x, y);
      show_makeNC();
    }
    ::InvalidateRect(pic_, nullptr, FALSE);
  }

  void Pic1_MouseMove(int x, int y) {
    if (view_.panning) {
      drag_view(view_, session_, x, y);
      ::InvalidateRect(pic_, nullptr, FALSE);
    }
    show_cursor(x, y);
  }

  // The wheel's position comes in screen coordinates; over the preview it
  // zooms about that point, in whole steps of WHEEL_DELTA.
  void Pic1_MouseWheel(WPARAM wp, LPARAM lp) {
    POINT at{mouse_x(lp), mouse_y(lp)};
    ::ScreenToClient(pic_, &at);
    RECT r{};
    ::GetClientRect(pic_, &r);
    if (!::PtInRect(&r, at)) return;
    const int delta = GET_WHEEL_DELTA_WPARAM(wp);
    if ((delta > 0 && wheel_rest_ < 0) || (delta < 0 && wheel_rest_ > 0)) wheel_rest_ = 0;  // turned back
    wheel_rest_ += delta;
    const int steps = wheel_rest_ / WHEEL_DELTA;
    wheel_rest_ -= steps * WHEEL_DELTA;
    if (steps == 0) return;
    wheel_view(view_, session_, at.x, at.y, steps);
    ::InvalidateRect(pic_, nullptr, FALSE);
    show_cursor(at.x, at.y);
  }

  void show_cursor(int x, int y) {
    const std::wstring text = win32::wide(cursor_text(view_, session_, x, y));
    ::SendMessageW(status_, SB_SETTEXTW, kCursorPart, reinterpret_cast<LPARAM>(text.c_str()));
  }

  void hed_ini_Click() {
    if (F_set_ == nullptr) F_set_ = std::make_unique<FSet>(session_.folder, window_);
    F_set_->show();
  }

  void set_ini_Click() {
    if (kakou_ == nullptr || !::IsWindow(kakou_)) kakou_ = (new Kakou(session_, window_))->window();
    ::SetForegroundWindow(kakou_);
  }

  // Nothing is handed back to the host: only NC generation does that.
  void end_Click() { ::DestroyWindow(window_); }

  void paint_preview(HWND w) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(w, &ps);
    RECT r{};
    ::GetClientRect(w, &r);
    const Surface& s = view_picture(view_, session_);
    HBRUSH background = ::CreateSolidBrush(static_cast<COLORREF>(kBackground));
    ::FillRect(dc, &r, background);
    ::DeleteObject(background);
    if (s.width() > 0 && s.height() > 0) {
      const std::vector<Colour> colours = s.pixels();
      pixels_.resize(colours.size());
      std::transform(colours.begin(), colours.end(), pixels_.begin(), to_dib);
      BITMAPINFO info{};
      info.bmiHeader.biSize = sizeof info.bmiHeader;
      info.bmiHeader.biWidth = s.width();
      info.bmiHeader.biHeight = -s.height();  // top row first
      info.bmiHeader.biPlanes = 1;
      info.bmiHeader.biBitCount = 32;
      info.bmiHeader.biCompression = BI_RGB;
      // Pixel for pixel: the surface is where the material map is computed.
      ::SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(s.width()), static_cast<DWORD>(s.height()), 0, 0, 0,
                          static_cast<UINT>(s.height()), pixels_.data(), &info, DIB_RGB_COLORS);
    }
    ::EndPaint(w, &ps);
  }

  // The pictures of the three buttons, drawn with lines: a part outline
  // with its lead-in, a turning arrow, a program sheet with "NC".
  static void paint_button(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    ::FillRect(dc, &r, ::GetSysColorBrush(COLOR_BTNFACE));
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    ::DrawEdge(dc, &r, pressed ? EDGE_SUNKEN : BDR_RAISEDINNER, BF_RECT);
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    const int o = pressed ? 1 : 0;
    auto at = [&](double fx, double fy) {
      return POINT{r.left + o + static_cast<int>(fx * w), r.top + o + static_cast<int>(fy * h)};
    };
    HPEN pen = ::CreatePen(PS_SOLID, std::max(1, w / 16), RGB(0, 0, 128));
    HGDIOBJ old_pen = ::SelectObject(dc, pen);
    HGDIOBJ old_brush = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
    wchar_t text[64] = {};
    ::GetWindowTextW(item.hwndItem, text, 64);
    const std::wstring tip = text;
    if (tip == win32::wide(kDrawForm["auto"].text)) {
      const POINT a = at(0.25, 0.3), b = at(0.8, 0.8);
      ::Rectangle(dc, a.x, a.y, b.x, b.y);
      const POINT s = at(0.12, 0.15), e = at(0.25, 0.45);
      ::MoveToEx(dc, s.x, s.y, nullptr);
      ::LineTo(dc, e.x, e.y);
    } else if (tip == win32::wide(kDrawForm["R_drew"].text)) {
      const POINT a = at(0.2, 0.2), b = at(0.8, 0.8), s = at(0.8, 0.5), e = at(0.5, 0.2);
      ::Arc(dc, a.x, a.y, b.x, b.y, s.x, s.y, e.x, e.y);
      const POINT t1 = at(0.5, 0.2), t2 = at(0.62, 0.1), t3 = at(0.62, 0.3);
      ::MoveToEx(dc, t2.x, t2.y, nullptr);
      ::LineTo(dc, t1.x, t1.y);
      ::LineTo(dc, t3.x, t3.y);
    } else {
      const POINT a = at(0.22, 0.12), b = at(0.78, 0.88);
      ::Rectangle(dc, a.x, a.y, b.x, b.y);
      RECT t{a.x, a.y, b.x, b.y};
      ::SetBkMode(dc, TRANSPARENT);
      ::SetTextColor(dc, RGB(0, 0, 128));
      HGDIOBJ old_font = ::SelectObject(dc, win32::style().font);
      ::DrawTextW(dc, L"NC", 2, &t, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
      ::SelectObject(dc, old_font);
    }
    ::SelectObject(dc, old_brush);
    ::SelectObject(dc, old_pen);
    ::DeleteObject(pen);
    if ((item.itemState & ODS_FOCUS) != 0) {
      RECT f = r;
      ::InflateRect(&f, -3, -3);
      ::DrawFocusRect(dc, &f);
    }
  }

  static constexpr int kCursorPart = 1;
  static constexpr int kClockPart = 2;
  static constexpr int kCursorWidth = 3300;  // twips

  Session& session_;
  int& exit_code_;
  ViewControl view_;
  int wheel_rest_ = 0;  // a fine-grained wheel's parts of a step
  HWND window_ = nullptr;
  HWND tool_bar_ = nullptr;
  HWND pic_ = nullptr;
  HWND status_ = nullptr;
  HWND tips_ = nullptr;
  std::vector<std::wstring> tip_texts_;
  std::vector<std::uint32_t> pixels_;
  std::unique_ptr<FSet> F_set_;
  HWND kakou_ = nullptr;
};

void register_classes() {
  HBRUSH face = ::GetSysColorBrush(COLOR_BTNFACE);
  win32::register_class(L"makenc_Draw", Draw::handle, face);
  win32::register_class(L"makenc_Toolbar1", Draw::handle_tool_bar, nullptr);
  win32::register_class(L"makenc_Pic1", Draw::handle_preview, nullptr);
  win32::register_class(L"makenc_kakou", Kakou::handle, face);
  win32::register_class(L"makenc_F_set", FSet::handle, face);
}

}  // namespace

int run_desktop(int /*argc*/, char** /*argv*/, const std::filesystem::path& folder) {
  INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);
  Result<Session> session = open_session(folder);
  if (!session) {
    ::MessageBoxW(nullptr, win32::wide(startup_failure_text(session.error())).c_str(), L"Draw",
                  MB_OK | MB_ICONERROR);
    return 1;
  }
  register_classes();
  // Closed without NC generation, the program ends without handing back.
  int exit_code = 0;
  Draw window(*session, exit_code);
  window.Form_Load();
  // Home, wherever the focus is in the main window.
  ACCEL home{FVIRTKEY, VK_HOME, kHomeKey};
  HACCEL keys = ::CreateAcceleratorTableW(&home, 1);
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    const auto& dialogs = open_dialogs();
    const bool taken = std::any_of(dialogs.begin(), dialogs.end(),
                                   [&](HWND d) { return ::IsDialogMessageW(d, &message) != 0; });
    if (taken) continue;
    HWND main = window.window();
    const bool in_main = message.hwnd == main || ::IsChild(main, message.hwnd) != 0;
    if (in_main && ::TranslateAcceleratorW(main, keys, &message) != 0) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  ::DestroyAcceleratorTable(keys);
  return exit_code;
}

}  // namespace makenc
