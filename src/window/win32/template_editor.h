// The editor "ファイル設定" (F_set) of the five template files, with the
// system's own controls. It is created once and afterwards only hidden and
// shown, so the chosen file and unsaved text survive between openings;
// choosing a file always reloads it from the disk.
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>
#include <string_view>

namespace makenc::win32 {

class TemplateEditor {
 public:
  TemplateEditor(const std::filesystem::path& folder, HWND owner);

  void show();

  // The window procedure of the class "makenc_F_set".
  static LRESULT handle(void* self, HWND w, UINT message, WPARAM wp, LPARAM lp);

 private:
  // hed_op_Click, sta_op_Click, sta_opM_Click, end_op_Click, foot_op_Click:
  // the option's file, always reloaded from the disk.
  void option_Click(std::string_view option);
  void OKButton_Click();
  void CancelButton_Click();

  std::filesystem::path folder_;
  std::string Cur_file_;
  HWND window_ = nullptr;
  HWND text_ = nullptr;
  HWND note_ = nullptr;
};

}  // namespace makenc::win32
