#include "window/win32/shop_dialog.h"

#include <string>
#include <utility>

#include "app/shop_form.h"
#include "window/win32/controls.h"

namespace makenc::win32 {

namespace {

constexpr int kShopIds = 400;

}  // namespace

ShopDialog::ShopDialog(Session& session, HWND owner, std::function<void()> saved)
    : SettingsDialog(session, std::move(saved), kShopForm, kShopIds) {
  open(L"makenc_option", owner);
}

void ShopDialog::Form_Load() {
  for (const BoxText& b : shop_box_texts(session_.settings)) set_text(box(b.box), b.text);
  const bool arc = shop_arc_chosen(session_.settings);
  ::SendMessageW(box(arc ? "lead_arc" : "lead_line"), BM_SETCHECK, BST_CHECKED, 0);
}

void ShopDialog::S_com_Click() {
  const bool arc = ::SendMessageW(box("lead_arc"), BM_GETCHECK, 0, 0) == BST_CHECKED;
  std::string refused;
  const Status saved = save_shop_options([&](std::string_view name) { return text_of(box(name)); }, arc,
                                         session_.folder, session_.settings, &refused);
  // On failure the dialog stays open so that what was typed is not lost.
  if (!saved) {
    if (!refused.empty()) ::SetFocus(box(refused));
    return inform(window(), kShopForm.caption, saved.error().message);
  }
  close_saved();
}

}  // namespace makenc::win32
