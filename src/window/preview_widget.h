// The preview "Pic1": shows the session's raster surface pixel for pixel.
// The surface is where the material map is computed, so the widget never
// scales or smooths it; it only shows it and reports mouse presses.
#pragma once

#include <QImage>
#include <QWidget>

#include "raster/surface.h"

namespace makenc {

// The surface as an image (the surface keeps red in the low byte).
QImage surface_image(const Surface& surface);

class PreviewWidget : public QWidget {
  Q_OBJECT

 public:
  PreviewWidget(const Surface& surface, QWidget* parent);

 signals:
  // x and y in pixels of the preview.
  void mouse_down(Qt::MouseButton button, double x, double y);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  const Surface& surface_;
};

}  // namespace makenc
