// The dialog "加工指示" (kakou) with the system's own controls: the eight
// machining conditions of Zemlak\Bin\set.ini in text boxes, filled from the
// session's settings each time it opens and saved as app/forms.h says.
#pragma once

#include <windows.h>

#include <functional>

#include "app/session.h"
#include "window/win32/settings_dialog.h"

namespace makenc::win32 {

class KakouDialog final : public SettingsDialog {
 public:
  // Of the class "makenc_kakou". `saved` is called once the conditions are
  // saved.
  KakouDialog(Session& session, HWND owner, std::function<void()> saved);

 private:
  void Form_Load() override;
  void S_com_Click() override;
};

}  // namespace makenc::win32
