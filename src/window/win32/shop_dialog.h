// The dialog "詳細設定" with the system's own controls: the shop's options
// of Zemlak\Bin\option.ini, filled from the session's settings each time it
// opens and saved as app/shop_form.h says.
#pragma once

#include <windows.h>

#include <functional>

#include "app/session.h"
#include "window/win32/settings_dialog.h"

namespace makenc::win32 {

class ShopDialog final : public SettingsDialog {
 public:
  // Of the class "makenc_option". `saved` is called once the options are
  // saved.
  ShopDialog(Session& session, HWND owner, std::function<void()> saved);

 private:
  void Form_Load() override;
  void S_com_Click() override;
};

}  // namespace makenc::win32
