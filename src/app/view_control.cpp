#include "app/view_control.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string>

#include "app/forms.h"
#include "assign/cut_order.h"
#include "assign/edits.h"
#include "assign/placement.h"
#include "core/constants.h"
#include "geometry/element_shape.h"
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

double view_scale(const ViewControl& view, const Session& session) {
  return view.fitted ? static_cast<double>(fitted_fit(session).Scr_k) : view.scale;
}

// A square of 2 * half + 1 pixels around the drawing point.
void plot(Preview& shown, double x, double y, int half, Colour colour) {
  const PreviewFit& f = shown.fit;
  const double px = f.Scr_x0 + to_screen_len(f, x);
  const double py = f.Scr_y0 - to_screen_len(f, y);
  if (!(px > -half - 1 && py > -half - 1 && px < shown.surface.width() + half + 1 &&
        py < shown.surface.height() + half + 1))
    return;
  const int cx = static_cast<int>(std::floor(px + 0.5)), cy = static_cast<int>(std::floor(py + 0.5));
  for (int j = cy - half; j <= cy + half; ++j)
    for (int i = cx - half; i <= cx + half; ++i)
      if (i >= 0 && j >= 0 && i < shown.surface.width() && j < shown.surface.height())
        shown.surface.set_pixel(i, j, colour);
}

// The contour of the record traced over, every element sampled each half
// pixel (a drawn point as itself).
void trace_contour(Preview& shown, const Session& session, std::size_t record, int half, Colour colour) {
  const auto& spans = session.assignment.Apr_span;
  if (record >= spans.size() || spans[record].layer < 0) return;
  const ContourSpan& span = spans[record];
  if (!session.start.drawing.has_layer(span.layer)) return;
  const Table& W = session.start.drawing.layer(span.layer);
  const double step = 0.5 / std::max(static_cast<double>(shown.fit.Scr_k), 1e-9);
  constexpr double kMostSamples = 100000;
  for (std::size_t r = span.first; r < span.end && r < W.rows(); ++r) {
    if (W.at(r, col::kind) == "pt")
      plot(shown, W.at(r, col::x1).number(), W.at(r, col::y1).number(), half, colour);
    const std::optional<ElementShape> e = element_shape(W, r);
    if (!e) continue;
    if (e->kind == ElementShape::Kind::line) {
      const ElementShape::Line& l = e->line;
      const double n = std::min(std::ceil(std::hypot(l.x2 - l.x1, l.y2 - l.y1) / step), kMostSamples);
      for (double i = 0; i <= n; ++i)
        plot(shown, l.x1 + (l.x2 - l.x1) * i / std::max(n, 1.0), l.y1 + (l.y2 - l.y1) * i / std::max(n, 1.0),
             half, colour);
      continue;
    }
    const ElementShape::Round& o = e->round;
    double sweep = e->kind == ElementShape::Kind::circle ? 360 : std::fmod(o.to - o.from + 720, 360.0);
    if (sweep == 0) sweep = 360;
    const double n = std::min(std::ceil(o.r * sweep * kPi / 180 / step), kMostSamples);
    for (double i = 0; i <= n; ++i) {
      const double a = (o.from + sweep * i / std::max(n, 1.0)) * kPi / 180;
      plot(shown, o.cx + o.r * std::cos(a), o.cy + o.r * std::sin(a), half, colour);
    }
  }
}

// What edit mode adds to the picture: the contours left out dimmed and the
// selected one plain to see.
bool edits_shown(const ViewControl& view, const Session& session) {
  return session.makeNC_visible && (!session.assignment.skipped.empty() || (view.editing && view.selected));
}

void show_edits(Preview& shown, const ViewControl& view, const Session& session) {
  for (const std::size_t k : session.assignment.skipped) trace_contour(shown, session, k, 0, kLeftOutGrey);
  if (view.editing && view.selected) trace_contour(shown, session, *view.selected, 1, kSelectedOrange);
}

// The point under pixel (x, y) and the contour nearest it within
// kPickPixels, as an edit of the kind.
Result<Edit> picked(const ViewControl& view, const Session& session, EditKind kind, double x, double y) {
  const DrawingPoint p = drawing_point(view, session, x, y);
  const double scale = view_scale(view, session);
  if (!(scale > 0)) return Error{"the preview shows nothing to edit"};
  return edit_at(session, kind, p.x, p.y, kPickPixels / scale);
}

void note(ViewControl& view, const Status& made) { view.edit_note = made ? "" : made.error().message; }

// Edit mode's left click: the entry of a closed contour, the selection of
// any other; in the order step the contour follows the one clicked before.
void edit_left_click(ViewControl& view, Session& session, double x, double y) {
  if (!session.makeNC_visible) {
    view.edit_note = "there is nothing to edit before アプローチ自動割付";
    return;
  }
  Result<Edit> hit = picked(view, session, EditKind::mark, x, y);
  if (!hit) {
    view.edit_note = hit.error().message;
    return;
  }
  if (view.ordering) {
    const std::optional<std::size_t> before = view.selected;
    view.selected = hit->record;
    if (!before || *before == hit->record) return;
    Edit after = *hit;
    after.kind = EditKind::after;
    after.follows = *before;
    note(view, add_edit(session, after));
    return;
  }
  view.selected = hit->record;
  Result<Edit> entry = picked(view, session, EditKind::entry, x, y);
  if (!entry) {
    view.edit_note = "";  // a contour without a lead-in is only selected
    return;
  }
  note(view, add_edit(session, *entry));
}

void edit_right_click(ViewControl& view, Session& session, double x, double y) {
  Result<Edit> flip = picked(view, session, EditKind::flip, x, y);
  if (!flip) {
    view.edit_note = flip.error().message;
    return;
  }
  view.selected = flip->record;
  note(view, add_edit(session, *flip));
}

}  // namespace

void set_editing(ViewControl& view, bool on) {
  view.editing = on;
  view.ordering = false;
  view.selected.reset();
  view.edit_note.clear();
}

void set_ordering(ViewControl& view, bool on) {
  view.ordering = on && view.editing;
  view.selected.reset();
}

bool edit_key(ViewControl& view, Session& session, EditKey key) {
  if (!view.editing) return false;
  if (key == EditKey::undo) {
    if (!undo_edit(session)) view.edit_note = "there is no edit to undo";
    return true;
  }
  if (!view.selected) {
    view.edit_note = "select a contour first: click it";
    return false;
  }
  Edit edit;
  edit.record = *view.selected;
  if (key == EditKey::leave_out) {
    edit.kind = EditKind::skip;
  } else {
    const Table& A = session.assignment.Apr_dat;
    const bool marked = edit.record < A.rows() && A.at(edit.record, rec::op) == "mark";
    edit.kind = marked ? EditKind::cut : EditKind::mark;
  }
  note(view, add_edit(session, edit));
  return true;
}

std::string view_status_text(const ViewControl& view, const Session& session) {
  const std::string status = job_status_text(session);
  return view.edit_note.empty() ? status : view.edit_note + "  " + status;
}

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
  if (view.editing) {
    edit_left_click(view, session, x, y);
    return;
  }
  if (view.fitted) {
    left_click(session, x, y);
    return;
  }
  const DrawingPoint p = drawing_point(view, session, x, y);
  paint_at(session, p.x, p.y);
}

void right_click_in_view(ViewControl& view, Session& session, double x, double y) {
  if (view.editing) {
    edit_right_click(view, session, x, y);
    return;
  }
  right_click(session);
}

const Surface& view_picture(ViewControl& view, Session& session) {
  const bool numbers = view.order_numbers && session.makeNC_visible;
  const bool edits = edits_shown(view, session);
  if (view.fitted && !numbers && !edits) return session.preview.surface;
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
      // Edits reorder and leave out records of the cut list, not of Apr_dat.
      const Assignment& a = session.assignment;
      draw_lead_ins(shown, session.edits.empty() ? a.Apr_dat : a.Ord_dat, lead_ins_shown_as_cut(session));
      draw_traverses(shown, a.Ord_dat);
      if (session.summary) draw_shown_cuts(shown, session.summary->shown_cuts);
    }
  }
  if (edits) show_edits(shown, view, session);
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
