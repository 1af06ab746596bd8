#include "window/win32/kakou_dialog.h"

#include <utility>

#include "app/forms.h"
#include "window/win32/controls.h"

namespace makenc::win32 {

namespace {

constexpr int kKakouIds = 300;

}  // namespace

KakouDialog::KakouDialog(Session& session, HWND owner, std::function<void()> saved)
    : session_(session), saved_(std::move(saved)) {
  window_ =
      create_window(L"makenc_kakou", kKakouForm, WS_CAPTION | WS_SYSMENU | WS_POPUP, owner, nullptr, this);
  for (const ControlSpec& c : kKakouForm.controls) create_control(window_, kKakouForm, c, kKakouIds);
  Form_Load();
  open_dialogs().push_back(window_);
  ::ShowWindow(window_, SW_SHOW);
  ::SetFocus(box("S_com"));
}

LRESULT KakouDialog::handle(void* self, HWND w, UINT message, WPARAM wp, LPARAM lp) {
  auto* k = static_cast<KakouDialog*>(self);
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wp) == BN_CLICKED) {
        const ControlSpec* c = control_of(kKakouForm, LOWORD(wp), kKakouIds);
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

HWND KakouDialog::box(std::string_view name) const {
  return ::GetDlgItem(window_, kKakouIds + static_cast<int>(&kKakouForm[name] - kKakouForm.controls.data()));
}

void KakouDialog::Form_Load() {
  for (const BoxText& b : kakou_box_texts(session_.settings)) set_text(box(b.box), b.text);
}

void KakouDialog::S_com_Click() {
  const Status saved = save_kakou([&](std::string_view name) { return text_of(box(name)); }, session_.folder,
                                  session_.settings);
  // On failure the dialog stays open so that what was typed is not lost.
  if (!saved) return inform(window_, kKakouForm.caption, saved.error().message);
  saved_();
  ::DestroyWindow(window_);
}

void KakouDialog::escape_Click() { ::DestroyWindow(window_); }

}  // namespace makenc::win32
