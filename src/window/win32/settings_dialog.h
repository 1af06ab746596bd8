// A dialog of settings with the system's own controls, laid out by a form
// of app/forms: shown at once with the focus on "決定", "決定" saves and
// closes it (a refused save keeps it open, with what was typed), "CANCEL"
// or the close box closes it unsaved. It deletes itself when its window is
// destroyed.
#pragma once

#include <windows.h>

#include <functional>
#include <string_view>

#include "app/forms.h"
#include "app/session.h"

namespace makenc::win32 {

class SettingsDialog {
 public:
  virtual ~SettingsDialog() = default;
  SettingsDialog(const SettingsDialog&) = delete;
  SettingsDialog& operator=(const SettingsDialog&) = delete;

  HWND window() const { return window_; }

  // The window procedure of every settings dialog's class.
  static LRESULT handle(void* self, HWND w, UINT message, WPARAM wp, LPARAM lp);

 protected:
  // Controls are numbered from `first_id` in the order of the form.
  SettingsDialog(Session& session, std::function<void()> saved, const FormSpec& form, int first_id);
  // Creates the window of `window_class` and its controls, fills them and
  // shows it; called once by the dialog's own constructor.
  void open(const wchar_t* window_class, HWND owner);
  HWND box(std::string_view name) const;
  // After a good save: the owner is told and the dialog closes.
  void close_saved();

  virtual void Form_Load() = 0;
  virtual void S_com_Click() = 0;
  void escape_Click();

  Session& session_;
  const FormSpec& form_;

 private:
  std::function<void()> saved_;
  int first_id_;
  HWND window_ = nullptr;
};

}  // namespace makenc::win32
