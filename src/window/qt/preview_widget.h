// The preview "Pic1": shows the picture of the view pixel for pixel, never
// scaled or smoothed, and reports the mouse: presses, the wheel, moves and
// the middle button's drag.
#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

#include "raster/surface.h"

namespace makenc {

// The surface as an image (the surface keeps red in the low byte).
QImage surface_image(const Surface& surface);

class PreviewWidget : public QWidget {
  Q_OBJECT

 public:
  // `picture` gives what to show at each paint.
  PreviewWidget(std::function<const Surface&()> picture, QWidget* parent);

 signals:
  // x and y in pixels of the preview.
  void mouse_down(Qt::MouseButton button, double x, double y);
  void mouse_up(Qt::MouseButton button, double x, double y);
  // With the buttons held during the move.
  void mouse_move(Qt::MouseButtons buttons, double x, double y);
  // Whole wheel steps (120 eighths of a degree each): positive away from
  // the user.
  void wheel(double x, double y, int steps);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  std::function<const Surface&()> picture_;
  // A fine-grained wheel sends parts of a step: they add up to whole ones.
  int wheel_rest_ = 0;
};

}  // namespace makenc
