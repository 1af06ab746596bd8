#include "window/win32/draw_window.h"

// After windows.h:
#include <commctrl.h>

#include <algorithm>

#include "app/forms.h"
#include "core/constants.h"
#include "window/win32/controls.h"
#include "window/win32/kakou_dialog.h"
#include "window/win32/shop_dialog.h"
#include "window/win32/template_editor.h"

namespace makenc::win32 {

namespace {

constexpr int kDrawIds = 100;
constexpr int kMenuIds = kDrawMenuIds;
constexpr UINT_PTR kClockTimer = 1;
constexpr UINT kClockTickMs = 1000;
constexpr int kCursorPart = 1;
constexpr int kClockPart = 2;
constexpr int kCursorWidth = 3300;  // twips

// The signed pixel position of a mouse message.
int mouse_x(LPARAM lp) { return static_cast<short>(LOWORD(lp)); }
int mouse_y(LPARAM lp) { return static_cast<short>(HIWORD(lp)); }

// The colours of the surface (red in the low byte) as a device-independent
// bitmap takes them (blue in the low byte).
std::uint32_t to_dib(Colour c) {
  const auto u = static_cast<std::uint32_t>(c);
  return ((u & 0xFFu) << 16) | (u & 0xFF00u) | ((u >> 16) & 0xFFu);
}

// The pictures of the three buttons, drawn with lines: a part outline
// with its lead-in, a turning arrow, a program sheet with "NC".
void paint_button(const DRAWITEMSTRUCT& item) {
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
  if (tip == wide(kDrawForm["auto"].text)) {
    const POINT a = at(0.25, 0.3), b = at(0.8, 0.8);
    ::Rectangle(dc, a.x, a.y, b.x, b.y);
    const POINT s = at(0.12, 0.15), e = at(0.25, 0.45);
    ::MoveToEx(dc, s.x, s.y, nullptr);
    ::LineTo(dc, e.x, e.y);
  } else if (tip == wide(kDrawForm["R_drew"].text)) {
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
    HGDIOBJ old_font = ::SelectObject(dc, style().font);
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

}  // namespace

Draw::Draw(Session& session, int& exit_code) : session_(session), exit_code_(exit_code) {
  HMENU bar = build_menus();
  window_ =
      create_window(L"makenc_Draw", kDrawForm, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, nullptr, bar, this);
  tool_bar_ = ::CreateWindowExW(
      0, L"makenc_Toolbar1", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0,
      px(kDrawForm.client_width), px(kToolBarHeight), window_, nullptr, ::GetModuleHandleW(nullptr), this);
  for (std::size_t i = 0; i < kDrawForm.controls.size(); ++i) {
    const ControlSpec& c = kDrawForm.controls[i];
    HWND made = create_control(tool_bar_, kDrawForm, c, kDrawIds);
    if (c.kind == ControlKind::PictureButton) add_tool_tip(made, c.text);
    // A box reaches to the next control at most: that one lies above it.
    const bool next_in_row = i + 1 < kDrawForm.controls.size() && kDrawForm.controls[i + 1].top == c.top;
    const int reach = next_in_row ? std::min(c.width, kDrawForm.controls[i + 1].left - c.left) : c.width;
    if (c.kind == ControlKind::CheckBox) fit_caption(made, px(reach));
  }
  pic_ = ::CreateWindowExW(0, L"makenc_Pic1", L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, 0,
                           window_, nullptr, ::GetModuleHandleW(nullptr), this);
  status_ = ::CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, 0,
                              window_, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  ::SendMessageW(status_, WM_SETFONT, reinterpret_cast<WPARAM>(style().font), TRUE);
  ::SendMessageW(status_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(wide(job_status_text(session_)).c_str()));
  ::SetTimer(window_, kClockTimer, kClockTickMs, nullptr);
  show_clock();
  check("Check1", session_.options.check_drawing);
  check("Check2", session_.options.joints);
  check("out_che", session_.options.skip_outline);
  check("every_part", session_.every_part_material);
  show_makeNC();
}

Draw::~Draw() = default;

void Draw::Form_Load() {
  for (int k = 0; k < kLayerCount; ++k)
    if (session_.options.layers[static_cast<std::size_t>(k)]) check("LYc" + std::to_string(k), true);
  ::ShowWindow(window_, SW_SHOW);
  Form_Resize();
}

LRESULT Draw::handle(void* self, HWND w, UINT message, WPARAM wp, LPARAM lp) {
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

LRESULT Draw::handle_tool_bar(void* self, HWND w, UINT message, WPARAM wp, LPARAM lp) {
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

LRESULT Draw::handle_preview(void* self, HWND w, UINT message, WPARAM wp, LPARAM lp) {
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
    case WM_MOUSEMOVE: d->Pic1_MouseMove((wp & MK_MBUTTON) != 0, mouse_x(lp), mouse_y(lp)); return 0;
    case WM_MOUSEWHEEL: d->Pic1_MouseWheel(wp, lp); return 0;
    default: return ::DefWindowProcW(w, message, wp, lp);
  }
}

HMENU Draw::build_menus() {
  HMENU bar = ::CreateMenu();
  HMENU file = nullptr;
  for (std::size_t i = 0; i < kDrawMenus.size(); ++i) {
    const MenuSpec& m = kDrawMenus[i];
    const auto id = static_cast<UINT_PTR>(kMenuIds + static_cast<int>(i));
    if (m.name == "file") {
      file = ::CreatePopupMenu();
      ::AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(file), wide(m.text).c_str());
    } else if (m.menu.empty()) {
      ::AppendMenuW(bar, MF_STRING, id, wide(m.text).c_str());
    } else {
      ::AppendMenuW(file, MF_STRING, id, wide(m.text).c_str());
    }
  }
  return bar;
}

void Draw::add_tool_tip(HWND button, std::string_view text) {
  if (tips_ == nullptr)
    tips_ = ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr,
                              ::GetModuleHandleW(nullptr), nullptr);
  tip_texts_.push_back(wide(text));
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = tool_bar_;
  tool.uId = reinterpret_cast<UINT_PTR>(button);
  tool.lpszText = tip_texts_.back().data();
  ::SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

HWND Draw::control(std::string_view name) const {
  return ::GetDlgItem(tool_bar_, kDrawIds + static_cast<int>(&kDrawForm[name] - kDrawForm.controls.data()));
}

void Draw::check(const std::string& name, bool on) {
  ::SendMessageW(control(name), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool Draw::ticked(std::string_view name) const {
  return ::SendMessageW(control(name), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Draw::command(int id, int code) {
  if (id == kHomeKey) return show_fitted();
  if (id == kMarkKey) return edit_key_Press(EditKey::mark);
  if (id == kLeaveOutKey) return edit_key_Press(EditKey::leave_out);
  if (id == kUndoKey) return edit_key_Press(EditKey::undo);
  if (id >= kMenuIds) {
    const std::string_view item = kDrawMenus[static_cast<std::size_t>(id - kMenuIds)].name;
    if (item == "hed_ini") hed_ini_Click();
    if (item == "set_ini") set_ini_Click();
    if (item == "option_ini") option_ini_Click();
    if (item == "end") end_Click();
    return;
  }
  const ControlSpec* c = control_of(kDrawForm, id, kDrawIds);
  if (c == nullptr || code != BN_CLICKED) return;
  const std::string_view n = c->name;
  if (n == "auto") auto_Click();
  if (n == "R_drew") R_drew_Click();
  if (n == "makeNC") makeNC_Click();
  if (n == "order_numbers") order_numbers_Click(ticked(n));
  if (n == "edit") edit_Click(ticked(n));
  if (n == "order_step") order_step_Click(ticked(n));
  option_Click(n, ticked(n));
}

void Draw::Form_Resize() {
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

void Draw::show_clock() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  const std::wstring text = wide(clock_text(now.wHour, now.wMinute));
  ::SendMessageW(status_, SB_SETTEXTW, kClockPart, reinterpret_cast<LPARAM>(text.c_str()));
}

void Draw::show_makeNC() { ::ShowWindow(control("makeNC"), session_.makeNC_visible ? SW_SHOW : SW_HIDE); }

void Draw::show_status() {
  const std::wstring text = wide(view_status_text(view_, session_));
  ::SendMessageW(status_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void Draw::auto_Click() {
  assign_approaches(session_);
  view_.selected.reset();  // the run's records are new
  view_.edit_note.clear();
  show_status();
  show_makeNC();
  ::InvalidateRect(pic_, nullptr, FALSE);
}

void Draw::R_drew_Click() {
  reset_assignment(session_);
  show_makeNC();
  show_status();
  show_fitted();
}

void Draw::show_fitted() {
  fit_view(view_, session_);
  ::InvalidateRect(pic_, nullptr, FALSE);
}

void Draw::order_numbers_Click(bool on) {
  view_.order_numbers = on;
  ::InvalidateRect(pic_, nullptr, FALSE);
}

void Draw::edit_Click(bool on) {
  set_editing(view_, on);
  check("order_step", false);
  show_status();
  ::InvalidateRect(pic_, nullptr, FALSE);
}

void Draw::order_step_Click(bool on) {
  set_ordering(view_, on);
  check("order_step", view_.ordering);
  ::InvalidateRect(pic_, nullptr, FALSE);
}

void Draw::edit_key_Press(EditKey key) {
  if (edit_key(view_, session_, key)) ::InvalidateRect(pic_, nullptr, FALSE);
  show_status();
}

void Draw::makeNC_Click() {
  const Result<NcWritten> written = make_nc(session_);
  if (!written) return inform(window_, "NCデータ作成", written.error().message);
  ::MessageBoxW(window_, wide(completion_text(written.value())).c_str(), L"確認", MB_OK);
  exit_code_ = 0;
  ::DestroyWindow(window_);
}

void Draw::option_Click(std::string_view name, bool on) {
  if (!tick_option(session_, name, on)) return;
  if (name.starts_with("LYc")) Form_Resize();
  show_status();
}

void Draw::Pic1_MouseDown(bool left, int x, int y) {
  if (left) {
    left_click_in_view(view_, session_, x, y);
    if (view_.editing) show_status();
  } else {
    right_click_in_view(view_, session_, x, y);
    show_makeNC();
    show_status();
  }
  ::InvalidateRect(pic_, nullptr, FALSE);
}

void Draw::Pic1_MouseMove(bool middle_held, int x, int y) {
  if (move_mouse(view_, session_, x, y, middle_held)) ::InvalidateRect(pic_, nullptr, FALSE);
  show_cursor(x, y);
}

void Draw::Pic1_MouseWheel(WPARAM wp, LPARAM lp) {
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

void Draw::show_cursor(int x, int y) {
  const std::wstring text = wide(cursor_text(view_, session_, x, y));
  ::SendMessageW(status_, SB_SETTEXTW, kCursorPart, reinterpret_cast<LPARAM>(text.c_str()));
}

void Draw::hed_ini_Click() {
  if (F_set_ == nullptr) F_set_ = std::make_unique<TemplateEditor>(session_.folder, window_);
  F_set_->show();
}

void Draw::set_ini_Click() {
  if (kakou_ == nullptr || !::IsWindow(kakou_))
    kakou_ = (new KakouDialog(session_, window_, [this] { kakou_Saved(); }))->window();
  ::SetForegroundWindow(kakou_);
}

void Draw::option_ini_Click() {
  if (shop_ == nullptr || !::IsWindow(shop_))
    shop_ = (new ShopDialog(session_, window_, [this] { kakou_Saved(); }))->window();
  ::SetForegroundWindow(shop_);
}

void Draw::kakou_Saved() {
  measure_offered_job(session_);
  show_status();
}

void Draw::end_Click() { ::DestroyWindow(window_); }

void Draw::paint_preview(HWND w) {
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

}  // namespace makenc::win32
