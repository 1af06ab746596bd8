#include "window/qt/window_style.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
#include <QRadioButton>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionButton>
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

namespace {

// Below this the text would no longer be readable.
constexpr double kSmallestPointSize = 6.0;
constexpr double kPointStep = 0.25;

// The width the caption needs: where the style starts the text (after the
// box of a check box or the circle of an option button), and the text.
int caption_width(const QWidget* control) {
  const QStyle* style = control->style();
  const auto* button = qobject_cast<const QAbstractButton*>(control);
  if (button != nullptr &&
      (qobject_cast<const QCheckBox*>(control) || qobject_cast<const QRadioButton*>(control))) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const auto contents = qobject_cast<const QCheckBox*>(control) ? QStyle::SE_CheckBoxContents
                                                                  : QStyle::SE_RadioButtonContents;
    return style->subElementRect(contents, &option, button).left() +
           button->fontMetrics().horizontalAdvance(button->text());
  }
  if (const auto* label = qobject_cast<const QLabel*>(control))
    return label->fontMetrics().horizontalAdvance(label->text());
  return control->sizeHint().width();
}

bool caption_clipped(const QWidget* control, int available_width) {
  const auto* label = qobject_cast<const QLabel*>(control);
  if (label != nullptr && label->wordWrap()) return label->heightForWidth(available_width) > label->height();
  return caption_width(control) > available_width;
}

}  // namespace

void fit_caption(QWidget* control, int available_width) {
  QFont font = control->font();
  while (caption_clipped(control, available_width) && font.pointSizeF() - kPointStep >= kSmallestPointSize) {
    font.setPointSizeF(font.pointSizeF() - kPointStep);
    control->setFont(font);
  }
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
