// The dialog "詳細設定" with the system's own controls: the shop's options
// of Zemlak\Bin\option.ini, filled from the session's settings each time it
// opens and saved as app/shop_form.h says.
#pragma once

#include <windows.h>

#include <functional>
#include <string_view>

#include "app/session.h"

namespace makenc::win32 {

class ShopDialog {
 public:
  // Shown at once, with the focus on "決定"; it deletes itself when its
  // window is destroyed. `saved` is called once the options are saved.
  ShopDialog(Session& session, HWND owner, std::function<void()> saved);

  HWND window() const { return window_; }

  // The window procedure of the class "makenc_option".
  static LRESULT handle(void* self, HWND w, UINT message, WPARAM wp, LPARAM lp);

 private:
  HWND box(std::string_view name) const;
  void Form_Load();
  void S_com_Click();
  void escape_Click();

  Session& session_;
  std::function<void()> saved_;
  HWND window_ = nullptr;
};

}  // namespace makenc::win32
