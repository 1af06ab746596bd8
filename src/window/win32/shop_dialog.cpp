#include "window/win32/shop_dialog.h"

#include <utility>

#include "app/shop_form.h"
#include "window/win32/controls.h"

namespace makenc::win32 {

namespace {

constexpr int kShopIds = 400;

}  // namespace

ShopDialog::ShopDialog(Session& session, HWND owner, std::function<void()> saved)
    : session_(session), saved_(std::move(saved)) {
  window_ =
      create_window(L"makenc_option", kShopForm, WS_CAPTION | WS_SYSMENU | WS_POPUP, owner, nullptr, this);
  for (const ControlSpec& c : kShopForm.controls) create_control(window_, kShopForm, c, kShopIds);
  Form_Load();
  open_dialogs().push_back(window_);
  ::ShowWindow(window_, SW_SHOW);
  ::SetFocus(box("S_com"));
}

LRESULT ShopDialog::handle(void* self, HWND w, UINT message, WPARAM wp, LPARAM lp) {
  auto* k = static_cast<ShopDialog*>(self);
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wp) == BN_CLICKED) {
        const ControlSpec* c = control_of(kShopForm, LOWORD(wp), kShopIds);
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

HWND ShopDialog::box(std::string_view name) const {
  return ::GetDlgItem(window_, kShopIds + static_cast<int>(&kShopForm[name] - kShopForm.controls.data()));
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
    return inform(window_, kShopForm.caption, saved.error().message);
  }
  saved_();
  ::DestroyWindow(window_);
}

void ShopDialog::escape_Click() { ::DestroyWindow(window_); }

}  // namespace makenc::win32
