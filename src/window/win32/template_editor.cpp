#include "window/win32/template_editor.h"

#include "app/forms.h"
#include "window/win32/controls.h"

namespace makenc::win32 {

namespace {

constexpr int kFSetIds = 500;

}  // namespace

TemplateEditor::TemplateEditor(const std::filesystem::path& folder, HWND owner) : folder_(folder) {
  window_ =
      create_window(L"makenc_F_set", kFSetForm, WS_CAPTION | WS_SYSMENU | WS_POPUP, owner, nullptr, this);
  for (const ControlSpec& c : kFSetForm.controls) {
    HWND control = create_control(window_, kFSetForm, c, kFSetIds);
    if (c.name == "RTB1") text_ = control;
  }
  // One line below the text box says when a file is new or unreadable.
  note_ = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT, px(240),
                            px(kFSetForm.client_height - 90), px(5415), px(300), window_, nullptr,
                            ::GetModuleHandleW(nullptr), nullptr);
  ::SendMessageW(note_, WM_SETFONT, reinterpret_cast<WPARAM>(style().font), TRUE);
  RECT r{};
  ::GetWindowRect(window_, &r);
  ::SetWindowPos(window_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top + px(300),
                 SWP_NOMOVE | SWP_NOZORDER);
  open_dialogs().push_back(window_);
}

void TemplateEditor::show() {
  ::ShowWindow(window_, SW_SHOW);
  ::SetForegroundWindow(window_);
}

LRESULT TemplateEditor::handle(void* self, HWND w, UINT message, WPARAM wp, LPARAM lp) {
  auto* f = static_cast<TemplateEditor*>(self);
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wp) == BN_CLICKED) {
        const ControlSpec* c = control_of(kFSetForm, LOWORD(wp), kFSetIds);
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

void TemplateEditor::option_Click(std::string_view option) {
  Cur_file_ = template_file_of(option);
  const TemplateShown shown = load_template(folder_, Cur_file_);
  std::string text;
  for (char c : shown.text) text += c == '\n' ? std::string("\r\n") : std::string(1, c);
  set_text(text_, text);
  set_text(note_, shown.note);
}

void TemplateEditor::OKButton_Click() {
  if (Cur_file_.ends_with("ini")) {
    const Status saved = save_template(folder_, Cur_file_, text_of(text_));
    // The editor stays open with the text, so nothing typed is lost.
    if (!saved) return inform(window_, kFSetForm.caption, saved.error().message);
    set_text(note_, "");
  }
  ::ShowWindow(window_, SW_HIDE);
}

void TemplateEditor::CancelButton_Click() { ::ShowWindow(window_, SW_HIDE); }

}  // namespace makenc::win32
