// The dialog "加工指示": the eight machining conditions in editable boxes.
// It is filled from the settings each time it is created, writes the
// settings file exactly as typed, and reads it back so the new values are
// in force for the next assignment or NC run. A tolerance, approach length
// or joint length that a run would refuse is named and not saved.
#pragma once

#include <QDialog>
#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "core/settings.h"
#include "window/qt/window_style.h"

class QLineEdit;
class QPushButton;

namespace makenc {

class KakouDialog : public QDialog {
  Q_OBJECT

 public:
  // Deletes itself when closed: every opening starts from the settings.
  KakouDialog(Settings& settings, const std::filesystem::path& folder, WindowHooks::Inform inform,
              QWidget* parent);

  void Form_Load();
  void S_com_Click();
  void escape_Click();

 signals:
  // The conditions were written and read back into the settings.
  void conditions_saved();

 private:
  struct ConditionRow {
    QLineEdit* R_min = nullptr;
    QLineEdit* L_min = nullptr;
    QLineEdit* K_Joukn = nullptr;
  };

  // The text box of that name, at its place in the layout table.
  QLineEdit* text_box(QWidget* parent, const QString& name);
  void build_layout();
  void build_condition_frame();

  Settings& settings_;
  std::filesystem::path folder_;
  WindowHooks::Inform inform_;
  QLineEdit* S_suu = nullptr;
  QLineEdit* GOSA = nullptr;
  QLineEdit* Apr = nullptr;
  QLineEdit* M_Joukn = nullptr;
  QLineEdit* joint = nullptr;
  std::array<ConditionRow, 3> rows_{};
  QPushButton* S_com = nullptr;
  QPushButton* escape = nullptr;
};

}  // namespace makenc
