// The tool bar along the top of the main window: the three action buttons,
// the option boxes NC generation reads, the layer boxes and the choice of
// material map. The controls
// stand where the layout grid puts them; the main window wires them.
#pragma once

#include <QWidget>
#include <array>

#include "core/constants.h"

class QCheckBox;
class QLabel;
class QToolButton;

namespace makenc {

class DrawToolBar : public QWidget {
  Q_OBJECT

 public:
  explicit DrawToolBar(QWidget* parent);

  // The height the tool bar takes at the top of the window (630 twips).
  static int bar_height();

  QToolButton* auto_ = nullptr;
  QToolButton* R_drew = nullptr;
  QToolButton* makeNC = nullptr;
  QCheckBox* Corner = nullptr;
  QCheckBox* Check2 = nullptr;
  QCheckBox* Check1 = nullptr;
  QCheckBox* out_che = nullptr;
  std::array<QCheckBox*, kLayerCount> LYc{};
  // "全部品を材料": every part of a nested sheet is material.
  QCheckBox* every_part = nullptr;
  // "順番表示": each contour's place in the cutting order in the preview.
  QCheckBox* order_numbers = nullptr;
  // "編集" and "順番指定": edit mode and its order step.
  QToolButton* edit = nullptr;
  QToolButton* order_step = nullptr;
  QLabel* Label1 = nullptr;

 private:
  // The control of that name in the main window's layout table.
  QToolButton* picture_button(const char* name, const QIcon& icon);
  QToolButton* toggle_button(const char* name);
  QCheckBox* check_box(const char* name);
};

}  // namespace makenc
