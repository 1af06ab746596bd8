#include "window/preview_widget.h"

#include <QMouseEvent>
#include <QPainter>

#include "core/constants.h"

namespace makenc {

namespace {

QRgb to_rgb(Colour c) {
  const auto u = static_cast<std::uint32_t>(c);
  return qRgb(static_cast<int>(u & 0xFFu), static_cast<int>((u >> 8) & 0xFFu),
              static_cast<int>((u >> 16) & 0xFFu));
}

}  // namespace

QImage surface_image(const Surface& surface) {
  QImage image(surface.width(), surface.height(), QImage::Format_RGB32);
  for (int y = 0; y < surface.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < surface.width(); ++x) line[x] = to_rgb(surface.at(x, y));
  }
  return image;
}

PreviewWidget::PreviewWidget(const Surface& surface, QWidget* parent) : QWidget(parent), surface_(surface) {
  setObjectName(QStringLiteral("Pic1"));
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void PreviewWidget::paintEvent(QPaintEvent* /*event*/) {
  QPainter p(this);
  // Outside the surface (only while a resize is under way) the background.
  p.fillRect(rect(), QColor(to_rgb(kBackground)));
  if (surface_.width() > 0 && surface_.height() > 0) p.drawImage(QPoint(0, 0), surface_image(surface_));
}

void PreviewWidget::mousePressEvent(QMouseEvent* event) {
  emit mouse_down(event->button(), event->position().x(), event->position().y());
}

}  // namespace makenc
