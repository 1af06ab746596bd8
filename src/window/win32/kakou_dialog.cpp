#include "window/win32/kakou_dialog.h"

#include <utility>

#include "app/forms.h"
#include "window/win32/controls.h"

namespace makenc::win32 {

namespace {

constexpr int kKakouIds = 300;

}  // namespace

KakouDialog::KakouDialog(Session& session, HWND owner, std::function<void()> saved)
    : SettingsDialog(session, std::move(saved), kKakouForm, kKakouIds) {
  open(L"makenc_kakou", owner);
}

void KakouDialog::Form_Load() {
  for (const BoxText& b : kakou_box_texts(session_.settings)) set_text(box(b.box), b.text);
}

void KakouDialog::S_com_Click() {
  const Status saved = save_kakou([&](std::string_view name) { return text_of(box(name)); }, session_.folder,
                                  session_.settings);
  // On failure the dialog stays open so that what was typed is not lost.
  if (!saved) return inform(window(), kKakouForm.caption, saved.error().message);
  close_saved();
}

}  // namespace makenc::win32
