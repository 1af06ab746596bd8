#include "preview/preview.h"

#include <algorithm>
#include <cmath>

#include "core/constants.h"

namespace makenc {
namespace {

// Arc angles are brought below one full turn as the system counts it.
constexpr double kFullTurn = 6.28318530717958;
// Points are small rings, arc ends small discs, both this many pixels across
// from the centre.
constexpr double kMarkRadius = 2.0;

// The colour code of a row as the 16-bit number the primitives test.
std::int16_t pen_of(const Cell& c) {
  const double v = std::nearbyint(c.number());
  if (!std::isfinite(v)) return 0;
  return static_cast<std::int16_t>(std::clamp(v, -32768.0, 32767.0));
}

// Cutting lines (colour code 2) are solid and bound the material map; every
// other line lets the fill pass through its gaps.
DrawStyle pen_style(std::int16_t pen) { return pen == 2 ? DrawStyle::Solid : DrawStyle::DashDotDot; }

double radians_below_full_turn(double degrees) {
  const double a = degrees * kPi / 180;
  return a > kFullTurn ? a - kFullTurn : a;
}

void load_line(Preview& p, const Table& t, std::size_t r) {
  PreviewCells& c = p.cells;
  c.P_x1 = to_screen_len(p.fit, t.at(r, col::x1));
  c.P_y1 = to_screen_len(p.fit, t.at(r, col::y1));
  c.P_x2 = to_screen_len(p.fit, t.at(r, col::x2));
  c.P_y2 = to_screen_len(p.fit, t.at(r, col::y2));
  c.Ent_pen = pen_of(t.at(r, col::colour));
}

void load_round(Preview& p, const Table& t, std::size_t r) {
  PreviewCells& c = p.cells;
  c.P_cx = to_screen_len(p.fit, t.at(r, col::cx));
  c.P_cy = to_screen_len(p.fit, t.at(r, col::cy));
  c.P_r = to_screen_len(p.fit, t.at(r, col::radius));
  c.Ent_pen = pen_of(t.at(r, col::colour));
}

void paint_arc(Preview& p, const Table& t, std::size_t r) {
  load_line(p, t, r);
  load_round(p, t, r);
  const double tilt = t.at(r, col::tilt).number();
  p.cells.P_sa = radians_below_full_turn(t.at(r, col::start_angle).number() + tilt);
  p.cells.P_ea = radians_below_full_turn(t.at(r, col::end_angle).number() + tilt);
  draw_arc_entity(p);
}

// A point is a dark-red ring that takes the line style and fill the surface
// has at that moment.
void paint_point(Preview& p, const Table& t, std::size_t r) {
  PreviewCells& c = p.cells;
  c.P_x1 = to_screen_len(p.fit, t.at(r, col::x1)) + p.fit.Scr_x0;
  c.P_y1 = p.fit.Scr_y0 - to_screen_len(p.fit, t.at(r, col::y1));
  p.surface.circle(c.P_x1, c.P_y1, kMarkRadius, kPointRed);
}

void paint_row(Preview& p, const Table& t, std::size_t r) {
  const Cell& kind = t.at(r, col::kind);
  if (kind == "li") {
    load_line(p, t, r);
    draw_line_entity(p);
  } else if (kind == "cci") {
    paint_arc(p, t, r);
  } else if (kind == "ci") {
    load_round(p, t, r);
    draw_circle_entity(p);
  } else if (kind == "pt") {
    paint_point(p, t, r);
  }
}

// The drawing-unit box of what the surface shows, widened by the marks of
// points and arc ends.
struct ShownBox {
  double x_lo = 0, x_hi = 0, y_lo = 0, y_hi = 0;
  bool holds(double a_lo, double a_hi, double b_lo, double b_hi) const {
    return a_hi >= x_lo && a_lo <= x_hi && b_hi >= y_lo && b_lo <= y_hi;
  }
};

ShownBox shown_box(const Preview& p) {
  const PreviewFit& f = p.fit;
  const double k = f.Scr_k;
  const double margin = kMarkRadius + 2;
  return {(-margin - f.Scr_x0) / k, (p.surface.width() + margin - f.Scr_x0) / k,
          (f.Scr_y0 - p.surface.height() - margin) / k, (f.Scr_y0 + margin) / k};
}

// Whether any part of row r can fall on the shown box. A value that is not
// a number leaves the row to the primitives, which skip what they cannot draw.
bool row_shown(const Table& t, std::size_t r, const ShownBox& box) {
  const Cell& kind = t.at(r, col::kind);
  double a_lo = 0, a_hi = 0, b_lo = 0, b_hi = 0;
  if (kind == "li") {
    const double x1 = t.at(r, col::x1).number(), x2 = t.at(r, col::x2).number();
    const double y1 = t.at(r, col::y1).number(), y2 = t.at(r, col::y2).number();
    a_lo = std::fmin(x1, x2);
    a_hi = std::fmax(x1, x2);
    b_lo = std::fmin(y1, y2);
    b_hi = std::fmax(y1, y2);
  } else if (kind == "ci" || kind == "cci") {
    const double cx = t.at(r, col::cx).number(), cy = t.at(r, col::cy).number();
    const double radius = std::fabs(t.at(r, col::radius).number());
    a_lo = cx - radius;
    a_hi = cx + radius;
    b_lo = cy - radius;
    b_hi = cy + radius;
  } else if (kind == "pt") {
    a_lo = a_hi = t.at(r, col::x1).number();
    b_lo = b_hi = t.at(r, col::y1).number();
  } else {
    return false;
  }
  if (!(std::isfinite(a_lo) && std::isfinite(a_hi) && std::isfinite(b_lo) && std::isfinite(b_hi)))
    return true;
  return box.holds(a_lo, a_hi, b_lo, b_hi);
}

// The surface keeps its line style, fill style and fill colour through a
// resize, like the picture it stands for.
void size_surface(Surface& s, int width, int height) {
  if (s.background() == kBackground) {
    s.resize(width, height);
    return;
  }
  Surface fresh(width, height, kBackground);
  fresh.draw_style = s.draw_style;
  fresh.fill_style = s.fill_style;
  fresh.fill_colour = s.fill_colour;
  s = std::move(fresh);
}

}  // namespace

double to_screen_len(const PreviewFit& fit, double v) { return static_cast<double>(fit.Scr_k) * v; }

void clear_entity_cells(PreviewCells& cells) {
  const std::int16_t pen = cells.Ent_pen;
  cells = PreviewCells{};
  cells.Ent_pen = pen;
}

void fit_preview(PreviewFit& fit, const Drawing& drawing) {
  const double w = fit.Pic_w;
  const double h = fit.Pic_h;
  double dx = drawing.X_max.number() - drawing.X_min.number();
  double dy = drawing.Y_max.number() - drawing.Y_min.number();
  if (!(std::isfinite(dx) && dx > 0)) dx = 0;
  if (!(std::isfinite(dy) && dy > 0)) dy = 0;
  // A drawing without width (a vertical line) or height is fitted by its
  // other dimension; one without either (a single point) at one pixel per unit.
  fit.Fit_kx = dx > 0 ? w / dx : 0;
  fit.Fit_ky = dy > 0 ? h / dy : 0;
  double k = 1;
  if (dx > 0 && dy > 0)
    k = 0.8 * (fit.Fit_kx > fit.Fit_ky ? fit.Fit_ky : fit.Fit_kx);
  else if (dx > 0)
    k = 0.8 * fit.Fit_kx;
  else if (dy > 0)
    k = 0.8 * fit.Fit_ky;
  fit.Scr_k = static_cast<float>(k);
  // Centred across; of the free height 60 % lies above the drawing.
  fit.Scr_x0 = (w - fit.Scr_k * dx) / 2;
  fit.Scr_y0 = h - (h - fit.Scr_k * dy) / 2.5;
}

bool size_and_fit_preview(Preview& preview, const Drawing& drawing, int width, int height) {
  preview.surface.fill_style = FillStyle::Transparent;
  // A window too small for a picture leaves one pixel and nothing drawn.
  const bool too_small = width < 1 || height < 1;
  size_surface(preview.surface, too_small ? 1 : width, too_small ? 1 : height);
  preview.fit.Pic_w = static_cast<float>(preview.surface.width());
  preview.fit.Pic_h = static_cast<float>(preview.surface.height());
  if (too_small || !drawing.has_bounding_box()) return false;
  fit_preview(preview.fit, drawing);
  return true;
}

void redraw_preview(Preview& preview, const Drawing& drawing, const LayerTicks& ticked, int width,
                    int height) {
  if (!size_and_fit_preview(preview, drawing, width, height)) return;
  clear_entity_cells(preview.cells);
  for (int k = 0; k < kLayerCount; ++k)
    if (drawing.has_layer(k) && ticked[static_cast<std::size_t>(k)]) painting(preview, drawing.layer(k));
}

void repaint_at_fit(Preview& preview, const Drawing& drawing, const LayerTicks& ticked) {
  preview.surface.fill_style = FillStyle::Transparent;
  preview.surface.erase();
  clear_entity_cells(preview.cells);
  for (int k = 0; k < kLayerCount; ++k)
    if (drawing.has_layer(k) && ticked[static_cast<std::size_t>(k)]) painting(preview, drawing.layer(k));
}

void painting(Preview& preview, const Table& W_dat) {
  if (W_dat.rows() == 0) return;
  // The last row is the table's spare row and holds no entity.
  for (std::size_t r = 0; r != W_dat.last_row(); ++r) paint_row(preview, W_dat, r);
}

void paint_visible(Preview& preview, const Drawing& drawing, const LayerTicks& ticked) {
  preview.surface.fill_style = FillStyle::Transparent;
  clear_entity_cells(preview.cells);
  if (!(preview.fit.Scr_k > 0 && std::isfinite(preview.fit.Scr_k))) return;
  const ShownBox box = shown_box(preview);
  for (int k = 0; k < kLayerCount; ++k) {
    if (!drawing.has_layer(k) || !ticked[static_cast<std::size_t>(k)]) continue;
    const Table& W_dat = drawing.layer(k);
    if (W_dat.rows() == 0) continue;
    for (std::size_t r = 0; r != W_dat.last_row(); ++r)
      if (row_shown(W_dat, r, box)) paint_row(preview, W_dat, r);
  }
}

void draw_line_entity(Preview& preview) {
  const PreviewCells& c = preview.cells;
  const PreviewFit& f = preview.fit;
  preview.surface.draw_style = pen_style(c.Ent_pen);
  preview.surface.line(c.P_x1 + f.Scr_x0, f.Scr_y0 - c.P_y1, c.P_x2 + f.Scr_x0, f.Scr_y0 - c.P_y2, kBlack);
}

void draw_circle_entity(Preview& preview) {
  const PreviewCells& c = preview.cells;
  const PreviewFit& f = preview.fit;
  preview.surface.fill_style = FillStyle::Transparent;
  preview.surface.draw_style = pen_style(c.Ent_pen);
  preview.surface.circle(c.P_cx + f.Scr_x0, f.Scr_y0 - c.P_cy, c.P_r, kBlack);
}

// The discs at the ends of an arc are drawn before its line style is set, so
// they take the style the previous entity left; the fill stays solid black
// for whatever comes next.
void draw_arc_entity(Preview& preview) {
  const PreviewCells& c = preview.cells;
  const PreviewFit& f = preview.fit;
  Surface& s = preview.surface;
  s.fill_colour = kBlack;
  s.fill_style = FillStyle::Solid;
  s.circle(c.P_x1 + f.Scr_x0, f.Scr_y0 - c.P_y1, kMarkRadius, kBlack);
  s.circle(c.P_x2 + f.Scr_x0, f.Scr_y0 - c.P_y2, kMarkRadius, kBlack);
  s.draw_style = pen_style(c.Ent_pen);
  s.arc(c.P_cx + f.Scr_x0, f.Scr_y0 - c.P_cy, c.P_r, c.P_sa, c.P_ea, kBlack);
}

}  // namespace makenc
