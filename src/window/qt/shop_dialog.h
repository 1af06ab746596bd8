// The dialog "詳細設定": the shop's options of Zemlak\Bin\option.ini,
// built from the layout table of app/shop_form.h, filled from the settings
// each time it is created and saved as that file says.
#pragma once

#include <QDialog>
#include <filesystem>
#include <string_view>

#include "core/settings.h"
#include "window/qt/window_style.h"

class QRadioButton;

namespace makenc {

class ShopDialog : public QDialog {
  Q_OBJECT

 public:
  // Deletes itself when closed: every opening starts from the settings.
  ShopDialog(Settings& settings, const std::filesystem::path& folder, WindowHooks::Inform inform,
             QWidget* parent);

  void Form_Load();
  void S_com_Click();
  void escape_Click();

 signals:
  // The options were written and are in force.
  void options_saved();

 private:
  QWidget* control(std::string_view name) const;

  Settings& settings_;
  std::filesystem::path folder_;
  WindowHooks::Inform inform_;
};

}  // namespace makenc
