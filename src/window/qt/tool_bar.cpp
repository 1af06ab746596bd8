#include "window/qt/tool_bar.h"

#include <QCheckBox>
#include <QLabel>
#include <QToolButton>
#include <algorithm>
#include <string>

#include "app/forms.h"
#include "window/qt/icons.h"
#include "window/qt/window_style.h"

namespace makenc {

int DrawToolBar::bar_height() { return twips_to_px(kToolBarHeight); }

DrawToolBar::DrawToolBar(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Toolbar1"));
  setAutoFillBackground(true);
  auto_ = picture_button("auto", auto_icon());
  R_drew = picture_button("R_drew", redraw_icon());
  makeNC = picture_button("makeNC", make_nc_icon());
  Corner = check_box("Corner");
  Check2 = check_box("Check2");
  Check1 = check_box("Check1");
  out_che = check_box("out_che");
  for (int k = 0; k < kLayerCount; ++k) LYc[k] = check_box(("LYc" + std::to_string(k)).c_str());
  every_part = check_box("every_part");
  order_numbers = check_box("order_numbers");
  edit = toggle_button("edit");
  order_step = toggle_button("order_step");
  // The label sits below the bar's own height, as in the layout it was
  // drawn in; the bar clips it.
  const ControlSpec& label = kDrawForm["Label1"];
  Label1 = new QLabel(QString::fromUtf8(label.text), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setGeometry(twips_rect(label.left, label.top, label.width, label.height));
  // A box reaches to the next control at most: that one lies above it.
  const std::array<QWidget*, 11> row{Corner, Check2, Check1, out_che, LYc[0],    LYc[1],
                                     LYc[2], LYc[3], LYc[4], LYc[5],  every_part};
  for (std::size_t i = 0; i < row.size(); ++i) {
    const int reach = i + 1 < row.size() ? row[i + 1]->x() - row[i]->x() : row[i]->width();
    fit_caption(row[i], std::min(row[i]->width(), reach));
  }
  fit_caption(order_numbers, order_numbers->width());
  Check2->setChecked(true);
  makeNC->setVisible(false);
}

QToolButton* DrawToolBar::picture_button(const char* name, const QIcon& icon) {
  const ControlSpec& spec = kDrawForm[name];
  auto* button = new QToolButton(this);
  button->setObjectName(QString::fromLatin1(name));
  button->setIcon(icon);
  button->setToolTip(QString::fromUtf8(spec.text));
  button->setAutoRaise(true);
  button->setToolButtonStyle(Qt::ToolButtonIconOnly);
  button->setGeometry(twips_rect(spec.left, spec.top, spec.width, spec.height));
  button->setIconSize(button->size() - QSize(8, 8));
  return button;
}

QToolButton* DrawToolBar::toggle_button(const char* name) {
  const ControlSpec& spec = kDrawForm[name];
  auto* button = new QToolButton(this);
  button->setObjectName(QString::fromLatin1(name));
  button->setText(QString::fromUtf8(spec.text));
  button->setCheckable(true);
  button->setToolButtonStyle(Qt::ToolButtonTextOnly);
  button->setGeometry(twips_rect(spec.left, spec.top, spec.width, spec.height));
  return button;
}

QCheckBox* DrawToolBar::check_box(const char* name) {
  const ControlSpec& spec = kDrawForm[name];
  auto* box = new QCheckBox(QString::fromUtf8(spec.text), this);
  box->setObjectName(QString::fromLatin1(name));
  box->setGeometry(twips_rect(spec.left, spec.top, spec.width, spec.height));
  return box;
}

}  // namespace makenc
