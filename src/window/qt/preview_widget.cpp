#include "window/qt/preview_widget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "core/constants.h"

namespace makenc {

namespace {

constexpr int kWheelStep = 120;

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

PreviewWidget::PreviewWidget(std::function<const Surface&()> picture, QWidget* parent)
    : QWidget(parent), picture_(std::move(picture)) {
  setObjectName(QStringLiteral("Pic1"));
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);  // the cursor's position in the status bar
}

void PreviewWidget::paintEvent(QPaintEvent* /*event*/) {
  QPainter p(this);
  // Outside the picture (only while a resize is under way) the background.
  p.fillRect(rect(), QColor(to_rgb(kBackground)));
  const Surface& picture = picture_();
  if (picture.width() > 0 && picture.height() > 0) p.drawImage(QPoint(0, 0), surface_image(picture));
}

void PreviewWidget::mousePressEvent(QMouseEvent* event) {
  emit mouse_down(event->button(), event->position().x(), event->position().y());
}

void PreviewWidget::mouseReleaseEvent(QMouseEvent* event) {
  emit mouse_up(event->button(), event->position().x(), event->position().y());
}

void PreviewWidget::mouseMoveEvent(QMouseEvent* event) {
  emit mouse_move(event->buttons(), event->position().x(), event->position().y());
}

void PreviewWidget::wheelEvent(QWheelEvent* event) {
  const int delta = event->angleDelta().y();
  if ((delta > 0 && wheel_rest_ < 0) || (delta < 0 && wheel_rest_ > 0)) wheel_rest_ = 0;  // turned back
  wheel_rest_ += delta;
  const int steps = wheel_rest_ / kWheelStep;
  wheel_rest_ -= steps * kWheelStep;
  if (steps != 0) emit wheel(event->position().x(), event->position().y(), steps);
  event->accept();
}

}  // namespace makenc
