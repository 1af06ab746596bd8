#include "ui/window/window_style.h"

#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <cmath>

#include "core/text.h"

namespace makenc {

int twips_to_px(int twips) { return static_cast<int>(std::lround(twips / kTwipsPerPixel)); }

QRect twips_rect(int left, int top, int width, int height) {
  return {twips_to_px(left), twips_to_px(top), twips_to_px(width), twips_to_px(height)};
}

QFont japanese_font(double point_size) {
  QFont font;
  // The first family is the one the layouts assume; the others are the
  // Japanese sans-serif faces a Linux desktop usually has instead.
  font.setFamilies(QStringList{QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("Noto Sans CJK JP"),
                               QStringLiteral("IPAPGothic"), QStringLiteral("VL PGothic")});
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(point_size);
  return font;
}

QString from_cp932(const std::string& bytes) { return QString::fromStdString(cp932_to_utf8(bytes)); }

std::string to_cp932(const QString& text) { return utf8_to_cp932(text.toStdString()); }

WindowHooks desktop_hooks() {
  WindowHooks hooks;
  hooks.inform = [](QWidget* parent, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
    box.exec();
  };
  hooks.quit = [] { QApplication::quit(); };
  return hooks;
}

}  // namespace makenc
