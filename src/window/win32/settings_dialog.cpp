#include "window/win32/settings_dialog.h"

#include <utility>

#include "window/win32/controls.h"

namespace makenc::win32 {

SettingsDialog::SettingsDialog(Session& session, std::function<void()> saved, const FormSpec& form,
                               int first_id)
    : session_(session), form_(form), saved_(std::move(saved)), first_id_(first_id) {}

void SettingsDialog::open(const wchar_t* window_class, HWND owner) {
  window_ = create_window(window_class, form_, WS_CAPTION | WS_SYSMENU | WS_POPUP, owner, nullptr, this);
  for (const ControlSpec& c : form_.controls) create_control(window_, form_, c, first_id_);
  Form_Load();
  open_dialogs().push_back(window_);
  ::ShowWindow(window_, SW_SHOW);
  ::SetFocus(box("S_com"));
}

LRESULT SettingsDialog::handle(void* self, HWND w, UINT message, WPARAM wp, LPARAM lp) {
  auto* d = static_cast<SettingsDialog*>(self);
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wp) == BN_CLICKED) {
        const ControlSpec* c = control_of(d->form_, LOWORD(wp), d->first_id_);
        if (c != nullptr && c->name == "S_com") d->S_com_Click();
        if ((c != nullptr && c->name == "escape") || LOWORD(wp) == IDCANCEL) d->escape_Click();
      }
      return 0;
    case WM_CLOSE: d->escape_Click(); return 0;
    case WM_NCDESTROY:
      forget_dialog(w);
      delete d;
      return 0;
    default: return ::DefWindowProcW(w, message, wp, lp);
  }
}

HWND SettingsDialog::box(std::string_view name) const {
  return ::GetDlgItem(window_, first_id_ + static_cast<int>(&form_[name] - form_.controls.data()));
}

void SettingsDialog::close_saved() {
  saved_();
  ::DestroyWindow(window_);
}

void SettingsDialog::escape_Click() { ::DestroyWindow(window_); }

}  // namespace makenc::win32
