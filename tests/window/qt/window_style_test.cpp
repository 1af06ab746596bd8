#include "window/qt/window_style.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>

#include "core/text.h"

namespace makenc {
namespace {

TEST(WindowStyle, TwipsGoOnThePixelGridAtFifteenPerPixel) {
  EXPECT_EQ(twips_rect(120, 0, 580, 580), QRect(8, 0, 39, 39));
  EXPECT_EQ(twips_rect(13545, 6840, 630, 375), QRect(903, 456, 42, 25));
}

TEST(WindowStyle, TheFontIsTheLayoutFaceOrAnInstalledJapaneseOne) {
  const QString family = QFontInfo(japanese_font(9)).family();
  const QStringList japanese{QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("Noto Sans CJK JP"),
                             QStringLiteral("IPAPGothic"), QStringLiteral("VL PGothic")};
  EXPECT_TRUE(japanese.contains(family)) << family.toStdString();
  EXPECT_TRUE(QFontDatabase::families(QFontDatabase::Japanese).contains(family)) << family.toStdString();
}

TEST(WindowStyle, FileTextConvertsBothWays) {
  const std::string bytes = utf8_to_cp932("ジョイント長(共通）");
  EXPECT_EQ(from_cp932(bytes), QStringLiteral("ジョイント長(共通）"));
  EXPECT_EQ(to_cp932(QStringLiteral("ジョイント長(共通）")), bytes);
}

TEST(WindowStyle, OnlyAClippedCaptionIsMadeSmaller) {
  QCheckBox fits(QStringLiteral("0"));
  fits.setFont(japanese_font(9));
  fits.setGeometry(0, 0, 200, 17);
  fit_caption(&fits, 200);
  EXPECT_DOUBLE_EQ(fits.font().pointSizeF(), 9.0);

  QCheckBox clipped(QStringLiteral("ジョイントあり"));
  clipped.setFont(japanese_font(9));
  const int full = clipped.fontMetrics().horizontalAdvance(clipped.text());
  fit_caption(&clipped, full);  // the box before the text no longer fits
  EXPECT_LT(clipped.font().pointSizeF(), 9.0);
  EXPECT_GE(clipped.font().pointSizeF(), 6.0);

  QLabel wrapped(QStringLiteral("マーキング　　加工条件"));
  wrapped.setFont(japanese_font(9));
  wrapped.setWordWrap(true);
  wrapped.setGeometry(0, 0, 65, 400);
  fit_caption(&wrapped, 65);
  EXPECT_DOUBLE_EQ(wrapped.font().pointSizeF(), 9.0) << "two lines fit the label's height";
}

}  // namespace
}  // namespace makenc
