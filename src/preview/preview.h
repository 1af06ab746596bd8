// The preview: the ticked layers drawn to fit a surface. It is part of the
// computation, not only a picture: the material map of approach assignment
// is flood-filled and probed in these pixels.
#pragma once

#include <array>
#include <cstdint>

#include "core/cell.h"
#include "core/drawing.h"
#include "raster/surface.h"

namespace makenc {

// Scale and origin of the drawing on the surface.
struct PreviewFit {
  float Pic_w = 0, Pic_h = 0;
  double Fit_kx = 0, Fit_ky = 0;
  float Scr_k = 0;
  double Scr_x0 = 0, Scr_y0 = 0;
};

// Scaled values of the entity being drawn: pixels relative to the drawing
// origin, not yet offset (the screen point of (px, py) is (px + Scr_x0,
// Scr_y0 - py)).
struct PreviewCells {
  double P_x1 = 0, P_y1 = 0, P_x2 = 0, P_y2 = 0;
  double P_cx = 0, P_cy = 0, P_r = 0;
  double P_sa = 0, P_ea = 0;
  std::int16_t Ent_pen = 0;
};

struct Preview {
  Surface surface;
  PreviewFit fit;
  PreviewCells cells;
  // 1 when the user painted material by hand since the last run or reset.
  std::int16_t Mus_clic = 0;
};

// Scr_k x v.
double to_screen_len(const PreviewFit& fit, double v);
inline double to_screen_len(const PreviewFit& fit, const Cell& v) { return to_screen_len(fit, v.number()); }

void clear_entity_cells(PreviewCells& cells);

// Scale and origin for the drawing's bounding box on a Pic_w x Pic_h surface.
void fit_preview(PreviewFit& fit, const Drawing& drawing);

// The full redraw: erase, size the surface, and draw every ticked layer that
// has a table. A surface smaller than 5 x 48 pixels of window area is given
// here already as the picture size (width, height).
void redraw_preview(Preview& preview, const Drawing& drawing, const LayerTicks& ticked, int width,
                    int height);

// The surface sized and erased and the fit set as the full redraw leaves
// them, with nothing drawn: for a run that shows no picture of the preview.
// Returns whether there is a drawing to draw at that fit.
bool size_and_fit_preview(Preview& preview, const Drawing& drawing, int width, int height);

// Erases the surface and draws every ticked layer at the fit and size the
// preview has.
void repaint_at_fit(Preview& preview, const Drawing& drawing, const LayerTicks& ticked);

// Draws every entity row of one table (the spare row excluded).
void painting(Preview& preview, const Table& W_dat);

// Draws the ticked layers at the preview's fit onto its surface as it is,
// without erasing it, leaving out every entity that lies wholly off the
// surface: a part of a large drawing seen close up costs what it shows.
void paint_visible(Preview& preview, const Drawing& drawing, const LayerTicks& ticked);

// The primitives read the scaled cells; solid for colour code 2, dash-dot-dot
// for every other code.
void draw_line_entity(Preview& preview);
void draw_circle_entity(Preview& preview);
void draw_arc_entity(Preview& preview);

}  // namespace makenc
