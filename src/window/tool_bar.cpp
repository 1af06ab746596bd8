#include "window/tool_bar.h"

#include <QCheckBox>
#include <QLabel>
#include <QToolButton>
#include <algorithm>
#include <string>

#include "window/icons.h"
#include "window/window_style.h"

namespace makenc {

namespace {

// Positions on the bar, in twips.
constexpr int kButtonSize = 580;
constexpr int kBoxTop = 120;
constexpr int kBoxHeight = 255;
constexpr std::array<int, kLayerCount> kLayerLeft{9120, 9600, 10080, 10560, 11040, 11520};
constexpr std::array<int, kLayerCount> kLayerWidth{495, 375, 375, 375, 375, 615};
// After the layer boxes, to the bar's right end.
constexpr int kEveryPartLeft = 12240;
constexpr int kEveryPartWidth = 1305;

}  // namespace

int DrawToolBar::bar_height() { return twips_to_px(630); }

DrawToolBar::DrawToolBar(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Toolbar1"));
  setAutoFillBackground(true);
  auto_ = picture_button("auto", auto_icon(), QStringLiteral("アプローチ自動割付"), 120);
  R_drew = picture_button("R_drew", redraw_icon(), QStringLiteral("再描画　初期化"), 840);
  makeNC = picture_button("makeNC", make_nc_icon(), QStringLiteral("NCデータ作成"), 1560);
  Corner = check_box("Corner", QStringLiteral("G09付加"), 2280, 975);
  Check2 = check_box("Check2", QStringLiteral("ジョイントあり"), 3480, 1695);
  Check1 = check_box("Check1", QStringLiteral("JWW確認図 出力あり"), 4920, 1935);
  out_che = check_box("out_che", QStringLiteral("外形線出力なし"), 7080, 1575);
  for (int k = 0; k < kLayerCount; ++k) {
    const std::string name = "LYc" + std::to_string(k);
    LYc[k] = check_box(name.c_str(), QString::number(k), kLayerLeft[k], kLayerWidth[k]);
  }
  every_part = check_box("every_part", QStringLiteral("全部品を材料"), kEveryPartLeft, kEveryPartWidth);
  // The label sits below the bar's own height, as in the layout it was
  // drawn in; the bar clips it.
  Label1 = new QLabel(QStringLiteral("レイヤー選択"), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setGeometry(twips_rect(1920, 840, 1815, 375));
  // A box reaches to the next control at most: that one lies above it.
  const std::array<QWidget*, 11> row{Corner, Check2, Check1, out_che, LYc[0],    LYc[1],
                                     LYc[2], LYc[3], LYc[4],  LYc[5],  every_part};
  for (std::size_t i = 0; i < row.size(); ++i) {
    const int reach = i + 1 < row.size() ? row[i + 1]->x() - row[i]->x() : row[i]->width();
    fit_caption(row[i], std::min(row[i]->width(), reach));
  }
  Check2->setChecked(true);
  makeNC->setVisible(false);
}

QToolButton* DrawToolBar::picture_button(const char* name, const QIcon& icon, const QString& tip, int left) {
  auto* button = new QToolButton(this);
  button->setObjectName(QString::fromLatin1(name));
  button->setIcon(icon);
  button->setToolTip(tip);
  button->setAutoRaise(true);
  button->setToolButtonStyle(Qt::ToolButtonIconOnly);
  button->setGeometry(twips_rect(left, 0, kButtonSize, kButtonSize));
  button->setIconSize(button->size() - QSize(8, 8));
  return button;
}

QCheckBox* DrawToolBar::check_box(const char* name, const QString& text, int left, int width) {
  auto* box = new QCheckBox(text, this);
  box->setObjectName(QString::fromLatin1(name));
  box->setGeometry(twips_rect(left, kBoxTop, width, kBoxHeight));
  return box;
}

}  // namespace makenc
