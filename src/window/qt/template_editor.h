// The editor "ファイル設定" for the five template files that frame the NC
// program. It is created once and afterwards only hidden and shown, so the
// chosen file and unsaved text survive between openings; choosing a file
// always reloads it from disk.
#pragma once

#include <QDialog>
#include <filesystem>
#include <string>
#include <vector>

#include "window/qt/window_style.h"

class QButtonGroup;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace makenc {

// A template file's lines shown as the editor's text, and back to the
// file's bytes (every line ended by CR LF).
QString template_text(const std::vector<std::string>& lines);
std::string template_file_bytes(const QString& text);

class TemplateEditor : public QDialog {
  Q_OBJECT

 public:
  TemplateEditor(const std::filesystem::path& folder, WindowHooks::Inform inform, QWidget* parent);

  void hed_op_Click();
  void sta_op_Click();
  void sta_opM_Click();
  void end_op_Click();
  void foot_op_Click();
  void OKButton_Click();
  void CancelButton_Click();

  // The file shown, as the host folder names it; empty until one is chosen.
  const std::string& Cur_file() const { return Cur_file_; }

 private:
  using Handler = void (TemplateEditor::*)();
  // The controls of that name in the layout table.
  QPushButton* button(const char* name, Handler handler);
  void build_options();
  void option(QWidget* frame, const char* name, Handler handler);
  // The file of that option button, reloaded from the disk.
  void choose(const char* option);
  void load_template_text();
  bool file_chosen() const;

  std::filesystem::path folder_;
  WindowHooks::Inform inform_;
  std::string Cur_file_;
  QButtonGroup* options_ = nullptr;
  QPlainTextEdit* RTB1 = nullptr;
  QLabel* note_ = nullptr;
};

}  // namespace makenc
