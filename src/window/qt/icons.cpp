#include "window/qt/icons.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace makenc {

namespace {

constexpr int kIconSize = 32;

QIcon painted(const std::function<void(QPainter&)>& paint) {
  QPixmap pixmap(kIconSize, kIconSize);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  paint(p);
  p.end();
  return QIcon(pixmap);
}

QPen pen(const QColor& colour, double width) {
  return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

}  // namespace

QIcon auto_icon() {
  return painted([](QPainter& p) {
    p.setPen(pen(Qt::black, 2));
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(QRectF(9, 6, 18, 20));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(18, 16), 4, 4);
    // The lead-in comes from the scrap side onto the outline.
    p.setPen(pen(QColor(200, 0, 0), 2.5));
    p.drawLine(QPointF(3, 16), QPointF(9, 16));
    p.setBrush(QColor(200, 0, 0));
    p.drawEllipse(QPointF(3, 16), 2, 2);
  });
}

QIcon redraw_icon() {
  return painted([](QPainter& p) {
    p.setPen(pen(QColor(0, 90, 170), 3));
    p.drawArc(QRectF(6, 6, 20, 20), 60 * 16, 290 * 16);
    QPainterPath head;
    head.moveTo(22, 2);
    head.lineTo(27, 11);
    head.lineTo(17, 11);
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 90, 170));
    p.drawPath(head);
  });
}

QIcon make_nc_icon() {
  return painted([](QPainter& p) {
    p.setPen(pen(Qt::black, 1.5));
    p.setBrush(Qt::white);
    QPainterPath sheet;
    sheet.moveTo(6, 2);
    sheet.lineTo(21, 2);
    sheet.lineTo(27, 8);
    sheet.lineTo(27, 30);
    sheet.lineTo(6, 30);
    sheet.closeSubpath();
    p.drawPath(sheet);
    QFont font;
    font.setBold(true);
    font.setPixelSize(11);
    p.setFont(font);
    p.setPen(QColor(0, 120, 0));
    p.drawText(QRectF(6, 9, 21, 14), Qt::AlignCenter, QStringLiteral("NC"));
    p.setPen(pen(QColor(120, 120, 120), 1));
    p.drawLine(QPointF(10, 25), QPointF(23, 25));
  });
}

QIcon window_icon() {
  return painted([](QPainter& p) {
    p.setPen(pen(Qt::black, 1.5));
    p.setBrush(QColor(128, 128, 128));
    QPainterPath plate;
    plate.addRect(QRectF(3, 7, 26, 18));
    plate.addEllipse(QPointF(12, 16), 4, 4);
    plate.setFillRule(Qt::OddEvenFill);
    p.drawPath(plate);
  });
}

}  // namespace makenc
