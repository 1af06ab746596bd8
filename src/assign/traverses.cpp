#include "assign/cut_order.h"

#include "assign/placement.h"
#include "core/constants.h"

namespace makenc {

void draw_traverses(Preview& preview, const Table& Ord_dat) {
  if (Ord_dat.rows() == 0) return;
  const PreviewFit& fit = preview.fit;
  Surface& surface = preview.surface;
  surface.draw_style = DrawStyle::Dotted;
  // The pen starts at the drawing origin, where the machine stands.
  double at_x = fit.Scr_x0;
  double at_y = fit.Scr_y0;
  for (std::size_t k = 0; k + 1 < Ord_dat.rows(); ++k) {
    const double to_x = fit.Scr_x0 + to_screen_len(fit, Ord_dat.at(k, rec::apr_x));
    const double to_y = fit.Scr_y0 - to_screen_len(fit, Ord_dat.at(k, rec::apr_y));
    surface.line(at_x, at_y, to_x, to_y, kTraverseBlue);
    // The next rapid move starts where this contour's cut ends.
    at_x = fit.Scr_x0 + to_screen_len(fit, Ord_dat.at(k, rec::hit_x));
    at_y = fit.Scr_y0 - to_screen_len(fit, Ord_dat.at(k, rec::hit_y));
  }
  surface.draw_style = DrawStyle::Solid;
}

}  // namespace makenc
