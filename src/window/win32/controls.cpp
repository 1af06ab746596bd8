#include "window/win32/controls.h"

#include <commctrl.h>

#include <array>
#include <map>

#include "core/platform.h"

namespace makenc::win32 {

namespace {

// The face the layouts were drawn for, then the Japanese faces Windows
// ships, then those a Linux desktop has (under Wine).
constexpr std::array<const wchar_t*, 8> kFaces{L"ＭＳ Ｐゴシック", L"MS PGothic",   L"Meiryo UI",
                                               L"Yu Gothic UI",    L"MS UI Gothic", L"Noto Sans CJK JP",
                                               L"IPAPGothic",      L"VL PGothic"};

int CALLBACK font_found(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

std::wstring installed_face() {
  HDC screen = ::GetDC(nullptr);
  std::wstring chosen;
  for (const wchar_t* face : kFaces) {
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    ::lstrcpynW(query.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    ::EnumFontFamiliesExW(screen, &query, font_found, reinterpret_cast<LPARAM>(&found), 0);
    if (found) {
      chosen = face;
      break;
    }
  }
  ::ReleaseDC(nullptr, screen);
  return chosen;
}

std::wstring& chosen_face() {
  static std::wstring face = installed_face();
  return face;
}

HFONT make_font(const std::wstring& face, int dpi, double points) {
  LOGFONTW lf{};
  lf.lfHeight = -static_cast<LONG>(points * dpi / 72.0 + 0.5);
  lf.lfCharSet = face.empty() ? DEFAULT_CHARSET : SHIFTJIS_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  if (face.empty()) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    ::lstrcpynW(lf.lfFaceName, metrics.lfMessageFont.lfFaceName, LF_FACESIZE);
  } else {
    ::lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
  }
  return ::CreateFontIndirectW(&lf);
}

std::map<std::wstring, Handler>& handlers() {
  static std::map<std::wstring, Handler> h;
  return h;
}

LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(l);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  void* self = reinterpret_cast<void*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  wchar_t name[64] = {};
  ::GetClassNameW(window, name, 64);
  const auto found = handlers().find(name);
  if (self == nullptr || found == handlers().end()) return ::DefWindowProcW(window, message, w, l);
  return found->second(self, window, message, w, l);
}

}  // namespace

const Style& style() {
  static const Style s = [] {
    Style made;
    HDC screen = ::GetDC(nullptr);
    made.dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);
    const std::wstring& face = chosen_face();
    made.font = make_font(face, made.dpi, 9);
    made.button_font = make_font(face, made.dpi, 12);
    made.text_font = make_font(face, made.dpi, 11.25);
    return made;
  }();
  return s;
}

int px(int twips) { return twips_to_pixels(twips, style().dpi); }

std::wstring wide(std::string_view utf8) { return utf8_to_wide(utf8); }

std::string text_of(HWND control) {
  const int n = ::GetWindowTextLengthW(control);
  std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
  ::GetWindowTextW(control, text.data(), n + 1);
  text.resize(static_cast<std::size_t>(n));
  return wide_to_utf8(text);
}

void set_text(HWND control, std::string_view utf8) { ::SetWindowTextW(control, wide(utf8).c_str()); }

HWND create_control(HWND parent, const FormSpec& form, const ControlSpec& spec, int first_id) {
  int left = spec.left;
  int top = spec.top;
  if (!spec.frame.empty()) {
    left += form[spec.frame].left;
    top += form[spec.frame].top;
  }
  const wchar_t* cls = L"BUTTON";
  DWORD bits = WS_CHILD | WS_VISIBLE;
  DWORD ex = 0;
  HFONT font = style().font;
  switch (spec.kind) {
    case ControlKind::PictureButton: bits |= BS_OWNERDRAW | WS_TABSTOP; break;
    case ControlKind::CheckBox: bits |= BS_AUTOCHECKBOX | WS_TABSTOP; break;
    case ControlKind::ToggleButton: bits |= BS_AUTOCHECKBOX | BS_PUSHLIKE | WS_TABSTOP; break;
    case ControlKind::Label:
      cls = L"STATIC";
      bits |= SS_LEFT;
      break;
    case ControlKind::Frame: bits |= BS_GROUPBOX; break;
    case ControlKind::TextBox:
      cls = L"EDIT";
      bits |= ES_AUTOHSCROLL | WS_TABSTOP;
      ex = WS_EX_CLIENTEDGE;
      break;
    case ControlKind::OptionButton: bits |= BS_AUTORADIOBUTTON; break;
    case ControlKind::Button:
      bits |= BS_PUSHBUTTON | WS_TABSTOP;
      if (form.name == "F_set") font = style().button_font;
      break;
    case ControlKind::TextArea:
      cls = L"EDIT";
      bits |= ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN | WS_VSCROLL | WS_HSCROLL |
              WS_TABSTOP;
      ex = WS_EX_CLIENTEDGE;
      font = style().text_font;
      break;
  }
  const auto row = static_cast<int>(&spec - form.controls.data());
  HWND control = ::CreateWindowExW(
      ex, cls, wide(spec.text).c_str(), bits, px(left), px(top), px(spec.width), px(spec.height), parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(first_id + row)), ::GetModuleHandleW(nullptr), nullptr);
  ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  // Only the labels drawn two lines high wrap; the others keep to one line.
  constexpr int kLayoutLineHeight = 12;
  if (spec.kind == ControlKind::Label && twips_to_pixels(spec.height) < 2 * kLayoutLineHeight)
    fit_caption(control, px(spec.width));
  return control;
}

const ControlSpec* control_of(const FormSpec& form, int id, int first_id) {
  const int row = id - first_id;
  if (row < 0 || row >= static_cast<int>(form.controls.size())) return nullptr;
  return &form.controls[static_cast<std::size_t>(row)];
}

void register_class(const wchar_t* name, Handler handle, HBRUSH background) {
  handlers()[name] = handle;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = window_procedure;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  wc.hIcon = ::LoadIconW(nullptr, MAKEINTRESOURCEW(32512));
  ::RegisterClassExW(&wc);
}

HWND create_window(const wchar_t* class_name, const FormSpec& form, DWORD style_bits, HWND owner, HMENU menu,
                   void* self) {
  RECT r{0, 0, px(form.client_width), px(form.client_height)};
  ::AdjustWindowRectEx(&r, style_bits, menu != nullptr, 0);
  return ::CreateWindowExW(0, class_name, wide(form.caption).c_str(), style_bits, CW_USEDEFAULT,
                           CW_USEDEFAULT, r.right - r.left, r.bottom - r.top, owner, menu,
                           ::GetModuleHandleW(nullptr), self);
}

void fit_caption(HWND check_box, int available_width) {
  // Below this the text would no longer be readable.
  constexpr double kSmallestPointSize = 6.0;
  constexpr double kPointStep = 0.25;
  static std::map<int, HFONT> smaller;  // by size in quarter points, for the program's life
  const std::wstring text = wide(text_of(check_box));
  wchar_t cls[16] = {};
  ::GetClassNameW(check_box, cls, 16);
  const bool label = ::lstrcmpiW(cls, L"STATIC") == 0;
  const int box = label ? 0 : ::GetSystemMetrics(SM_CXMENUCHECK) + ::GetSystemMetrics(SM_CXEDGE) * 2;
  HDC dc = ::GetDC(check_box);
  for (double points = 9.0; points >= kSmallestPointSize; points -= kPointStep) {
    const int quarter = static_cast<int>(points * 4);
    HFONT font = quarter == 36 ? style().font : smaller[quarter];
    if (font == nullptr) font = smaller[quarter] = make_font(chosen_face(), style().dpi, points);
    HGDIOBJ old = ::SelectObject(dc, font);
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    ::SelectObject(dc, old);
    ::SendMessageW(check_box, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    if (box + size.cx <= available_width) break;
  }
  ::ReleaseDC(check_box, dc);
}

void inform(HWND owner, std::string_view title, std::string_view text) {
  ::MessageBoxW(owner, wide(text).c_str(), wide(title).c_str(), MB_OK);
}

std::vector<HWND>& open_dialogs() {
  static std::vector<HWND> d;
  return d;
}

void forget_dialog(HWND dialog) { std::erase(open_dialogs(), dialog); }

}  // namespace makenc::win32
