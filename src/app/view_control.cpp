#include "app/view_control.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string>

#include "assign/cut_order.h"
#include "assign/placement.h"
#include "core/constants.h"
#include "nc/check_drawing.h"
#include "nc/nc_program.h"
#include "preview/material_map.h"
#include "preview/preview.h"
#include "raster/digits.h"

namespace makenc {
namespace {

// One wheel step zooms by this factor.
constexpr double kWheelFactor = 1.25;

// The fit the picture of a zoomed view is drawn at: pixel (i, j) shows the
// drawing point (top_left.x + i / scale, top_left.y - j / scale).
PreviewFit zoomed_fit(const ViewControl& view) {
  PreviewFit f;
  f.Pic_w = static_cast<float>(view.width);
  f.Pic_h = static_cast<float>(view.height);
  f.Fit_kx = f.Fit_ky = view.scale;
  f.Scr_k = static_cast<float>(view.scale);
  f.Scr_x0 = -view.top_left.x * view.scale;
  f.Scr_y0 = view.top_left.y * view.scale;
  return f;
}

const PreviewFit& fitted_fit(const Session& session) { return session.preview.fit; }

bool drawable(const Session& session) {
  const float k = fitted_fit(session).Scr_k;
  return std::isfinite(k) && k > 0 && session.preview.surface.width() > 0 &&
         session.preview.surface.height() > 0;
}

// While panning, the centre of the picture stays on the part of the drawing
// plane the fitted view shows, so the drawing cannot be pushed out of sight.
void keep_centre_on_fitted_area(ViewControl& view, const Session& session) {
  const PreviewFit& f = fitted_fit(session);
  const double k = f.Scr_k;
  const double w = session.preview.surface.width();
  const double h = session.preview.surface.height();
  const double half_w = view.width / (2 * view.scale);
  const double half_h = view.height / (2 * view.scale);
  const double cx = std::clamp(view.top_left.x + half_w, -f.Scr_x0 / k, (w - f.Scr_x0) / k);
  const double cy = std::clamp(view.top_left.y - half_h, (f.Scr_y0 - h) / k, f.Scr_y0 / k);
  view.top_left = {cx - half_w, cy + half_h};
}

std::string fixed(double v, int decimals) {
  std::array<char, 64> buf{};
  if (!std::isfinite(v)) return "-";
  // Keep "-0.00" off the status bar.
  if (std::fabs(v) < 0.5 * std::pow(10.0, -decimals)) v = 0;
  const auto [end, ec] =
      std::to_chars(buf.data(), buf.data() + buf.size(), v, std::chars_format::fixed, decimals);
  return ec == std::errc{} ? std::string(buf.data(), end) : std::string("-");
}

bool region_colour(Colour c) { return c == kBackground || c == kMaterialGrey || c == kOutsideBlue; }

// Whether the box and one pixel around it lie on the picture and hold only
// region colours: no line, lead-in, rapid move or other number.
bool box_is_free(const Surface& s, int x0, int y0, int w, int h) {
  if (x0 - 1 < 0 || y0 - 1 < 0 || x0 + w + 1 > s.width() || y0 + h + 1 > s.height()) return false;
  for (int y = y0 - 1; y <= y0 + h; ++y)
    for (int x = x0 - 1; x <= x0 + w; ++x)
      if (!region_colour(s.at(x, y))) return false;
  return true;
}

// A white label with the digits, its top-left at (x0, y0).
void draw_label(Surface& s, int x0, int y0, int w, int h, const std::string& text, int size) {
  for (int y = y0; y < y0 + h; ++y)
    for (int x = x0; x < x0 + w; ++x) s.set_pixel(x, y, kOrderLabel);
  draw_digits(s, x0 + 1, y0 + 1, text, size, kOrderDigits);
}

// Each contour's place in the program's order, on a label beside its
// lead-in's start, at the first of the four corners around the start that
// covers nothing drawn; large digits where there is room, else small ones,
// else none.
void write_order_numbers(Preview& shown, const Session& session) {
  const Assignment& a = session.assignment;
  const PreviewFit& f = shown.fit;
  Surface& s = shown.surface;
  const std::vector<std::size_t> rows =
      rows_in_program(a.Ord_dat, a.last_is_outline, session.options, session.start.drawing);
  constexpr int kGap = 3;  // pixels between the lead-in's start and its label
  for (std::size_t n = 0; n < rows.size(); ++n) {
    const double px = f.Scr_x0 + to_screen_len(f, a.Ord_dat.at(rows[n], rec::apr_x));
    const double py = f.Scr_y0 - to_screen_len(f, a.Ord_dat.at(rows[n], rec::apr_y));
    if (!(px >= 0 && py >= 0 && px < s.width() && py < s.height())) continue;
    const int x = static_cast<int>(std::floor(px + 0.5));
    const int y = static_cast<int>(std::floor(py + 0.5));
    const std::string text = std::to_string(n + 1);
    bool placed = false;
    for (int size = 2; size >= 1 && !placed; --size) {
      const int w = digits_width(text, size) + 2;
      const int h = digits_height(size) + 2;
      const std::array<std::array<int, 2>, 4> corners{{{x + kGap, y - kGap - h},
                                                       {x + kGap, y + kGap},
                                                       {x - kGap - w, y - kGap - h},
                                                       {x - kGap - w, y + kGap}}};
      for (const auto& [cx, cy] : corners) {
        if (!box_is_free(s, cx, cy, w, h)) continue;
        draw_label(s, cx, cy, w, h, text, size);
        placed = true;
        break;
      }
    }
  }
}

}  // namespace

void fit_view(ViewControl& view, const Session& session) {
  const PreviewFit& f = fitted_fit(session);
  view.fitted = true;
  view.width = session.preview.surface.width();
  view.height = session.preview.surface.height();
  view.scale = f.Scr_k;
  view.top_left = drawable(session) ? DrawingPoint{-f.Scr_x0 / f.Scr_k, f.Scr_y0 / f.Scr_k} : DrawingPoint{};
}

void wheel_view(ViewControl& view, const Session& session, double x, double y, int steps) {
  if (steps == 0 || !drawable(session)) return;
  const double fitted_scale = fitted_fit(session).Scr_k;
  const double most = std::max(fitted_scale, kMostPixelsPerUnit);
  const DrawingPoint under = drawing_point(view, session, x, y);
  const double from = view.fitted ? fitted_scale : view.scale;
  const auto to = static_cast<float>(std::clamp(from * std::pow(kWheelFactor, steps), fitted_scale, most));
  if (!(to > fitted_scale)) {
    fit_view(view, session);
    return;
  }
  if (view.fitted) {
    view.width = session.preview.surface.width();
    view.height = session.preview.surface.height();
  }
  view.fitted = false;
  view.scale = to;
  // The drawing point under the cursor stays under it.
  view.top_left = {under.x - x / view.scale, under.y + y / view.scale};
}

void show_area(ViewControl& view, const Session& session, DrawingPoint lower_left, DrawingPoint upper_right) {
  const double w = upper_right.x - lower_left.x;
  const double h = upper_right.y - lower_left.y;
  if (!(std::isfinite(w) && std::isfinite(h) && w > 0 && h > 0)) return;
  view.width = session.preview.surface.width();
  view.height = session.preview.surface.height();
  if (view.width < 1 || view.height < 1) return;
  const auto scale = static_cast<float>(std::min({view.width / w, view.height / h, kMostPixelsPerUnit}));
  if (!(scale > 0)) return;
  view.fitted = false;
  view.scale = scale;
  const double cx = lower_left.x + w / 2;
  const double cy = lower_left.y + h / 2;
  view.top_left = {cx - view.width / (2 * view.scale), cy + view.height / (2 * view.scale)};
}

void start_pan(ViewControl& view, double x, double y) {
  view.panning = true;
  view.pan_x = x;
  view.pan_y = y;
}

void drag_view(ViewControl& view, const Session& session, double x, double y) {
  if (!view.panning) return;
  // The fitted view shows the whole drawing: there is nothing to pan to.
  if (!view.fitted && view.scale > 0) {
    view.top_left.x -= (x - view.pan_x) / view.scale;
    view.top_left.y += (y - view.pan_y) / view.scale;
    keep_centre_on_fitted_area(view, session);
  }
  view.pan_x = x;
  view.pan_y = y;
}

void end_pan(ViewControl& view) { view.panning = false; }

bool move_mouse(ViewControl& view, const Session& session, double x, double y, bool middle_held) {
  if (!view.panning) return false;
  if (!middle_held) {
    end_pan(view);
    return false;
  }
  drag_view(view, session, x, y);
  return true;
}

DrawingPoint drawing_point(const ViewControl& view, const Session& session, double x, double y) {
  if (view.fitted) {
    const PreviewFit& f = fitted_fit(session);
    return {(x - f.Scr_x0) / f.Scr_k, (f.Scr_y0 - y) / f.Scr_k};
  }
  return {view.top_left.x + x / view.scale, view.top_left.y - y / view.scale};
}

void left_click_in_view(ViewControl& view, Session& session, double x, double y) {
  if (view.fitted) {
    left_click(session, x, y);
    return;
  }
  const DrawingPoint p = drawing_point(view, session, x, y);
  paint_at(session, p.x, p.y);
}

void right_click_in_view(ViewControl& /*view*/, Session& session, double /*x*/, double /*y*/) {
  right_click(session);
}

const Surface& view_picture(ViewControl& view, Session& session) {
  const bool numbers = view.order_numbers && session.makeNC_visible;
  if (view.fitted && !numbers) return session.preview.surface;
  Preview shown;
  if (view.fitted) {
    shown.surface = session.preview.surface;
    shown.fit = session.preview.fit;
  } else {
    shown.surface = std::move(view.picture);
    if (shown.surface.width() != view.width || shown.surface.height() != view.height ||
        shown.surface.background() != kBackground)
      shown.surface = Surface(view.width, view.height, kBackground);
    else
      shown.surface.erase();
    shown.fit = zoomed_fit(view);
    if (session.map.ready && session.map.regions)
      paint_material(shown, *session.map.regions, session.map.material, session.map.outside_shown);
    paint_visible(shown, session.start.drawing, session.options.layers);
    if (session.makeNC_visible) {
      draw_lead_ins(shown, session.assignment.Apr_dat);
      draw_traverses(shown, session.assignment.Ord_dat);
      if (session.summary) draw_shown_cuts(shown, session.summary->shown_cuts);
    }
  }
  if (numbers) write_order_numbers(shown, session);
  view.picture = std::move(shown.surface);
  return view.picture;
}

std::string cursor_text(const ViewControl& view, const Session& session, double x, double y) {
  const DrawingPoint p = drawing_point(view, session, x, y);
  const double scale = view.fitted ? static_cast<double>(fitted_fit(session).Scr_k) : view.scale;
  return "X " + fixed(p.x, 2) + "  Y " + fixed(p.y, 2) + "  " + fixed(scale, scale < 1 ? 4 : 2) +
         " 画素/単位";
}

}  // namespace makenc
