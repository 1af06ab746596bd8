#include "assign/edits.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numeric>

#include "assign/placement.h"
#include "core/constants.h"
#include "geometry/drawn_elements.h"
#include "geometry/element_shape.h"
#include "geometry/regions.h"
#include "geometry/sides.h"

namespace makenc {
namespace {

struct Point {
  double x = 0, y = 0;
};

double normal_degrees(double a) {
  a = std::fmod(a, 360.0);
  return a < 0 ? a + 360.0 : a;
}

// The point of the element nearest p.
Point nearest_on(const ElementShape& shape, Point p) {
  if (shape.kind == ElementShape::Kind::line) {
    const ElementShape::Line& e = shape.line;
    const double dx = e.x2 - e.x1, dy = e.y2 - e.y1;
    const double len2 = dx * dx + dy * dy;
    const double t = len2 > 0 ? std::clamp(((p.x - e.x1) * dx + (p.y - e.y1) * dy) / len2, 0.0, 1.0) : 0.0;
    return {e.x1 + t * dx, e.y1 + t * dy};
  }
  const ElementShape::Round& e = shape.round;
  const double d = std::hypot(p.x - e.cx, p.y - e.cy);
  const double a = d > 0 ? std::atan2(p.y - e.cy, p.x - e.cx) : -kPi / 2;
  const Point radial{e.cx + e.r * std::cos(a), e.cy + e.r * std::sin(a)};
  if (shape.kind == ElementShape::Kind::circle) return radial;
  const double sweep = normal_degrees(e.to - e.from);
  if (sweep == 0 || normal_degrees(a * 180 / kPi - e.from) <= sweep) return radial;
  const double s = e.from * kPi / 180, t = e.to * kPi / 180;
  const Point from{e.cx + e.r * std::cos(s), e.cy + e.r * std::sin(s)};
  const Point to{e.cx + e.r * std::cos(t), e.cy + e.r * std::sin(t)};
  return std::hypot(p.x - from.x, p.y - from.y) <= std::hypot(p.x - to.x, p.y - to.y) ? from : to;
}

// A drawn point ("pt") is met at itself.
std::optional<Point> nearest_of_row(const Table& W, std::size_t row, Point p) {
  if (W.at(row, col::kind) == "pt") return Point{W.at(row, col::x1).number(), W.at(row, col::y1).number()};
  const std::optional<ElementShape> shape = element_shape(W, row);
  if (!shape) return std::nullopt;
  return nearest_on(*shape, p);
}

bool has_lead_in(const Cell& kind) {
  return kind == kind_text(ContourKind::loop) || kind == kind_text(ContourKind::circle);
}

// The row of Ord_dat that holds the record held back to be cut last as the
// outline, or the row count when none is.
std::size_t held_outline(const Assignment& a) {
  const std::size_t M = a.Ord_apr_row.size();
  return a.last_is_outline && M > 0 ? a.Ord_apr_row[M - 1] : a.Apr_dat.rows();
}

// The lead-ins are placed again on the run's own ground: its regions, the
// drawn lines of the ticked layers and the material it decided on.
class EntryPlacer {
 public:
  explicit EntryPlacer(const EditGround& g)
      : regions_(g.map.regions ? g.map.regions
                               : std::make_shared<const Regions>(g.drawing, g.ticked, g.settings)),
        drawn_(g.drawing, g.ticked),
        sides_(*regions_, drawn_, g.map.material, decision_fit(g.preview, g.drawing, g.settings).Scr_k) {}

  PlacedEntry place(Assignment& edited, const EditGround& g, const Edit& e, bool cut) {
    const ContourSpan& span = edited.Apr_span[e.record];
    PlacementContext ctx{edited,
                         g.preview,
                         g.settings,
                         g.drawing.Cnt_total,
                         g.drawing.layer(span.layer),
                         layer_name(span.layer),
                         &drawn_,
                         &sides_};
    return place_entry(ctx, span.first, span.end, e.element, e.x, e.y, cut);
  }

 private:
  std::shared_ptr<const Regions> regions_;
  DrawnElements drawn_;
  Sides sides_;
};

void set_point(Table& t, std::size_t row, int cx, int cy, double x, double y) {
  t.at(row, static_cast<std::size_t>(cx)) = Cell(x);
  t.at(row, static_cast<std::size_t>(cy)) = Cell(y);
}

// What the edits did to the run's cut list, before it is built again.
struct EditedList {
  std::vector<std::size_t> order;  // rows of the run's Ord_dat in cutting order
  std::vector<char> left_out;      // by row of the run's Ord_dat
};

void enter_anew(Assignment& edited, const EditGround& g, const Edit& e, std::size_t p,
                std::unique_ptr<EntryPlacer>& placer) {
  if (!placer) placer = std::make_unique<EntryPlacer>(g);
  Table& A = edited.Apr_dat;
  const bool cut = A.at(e.record, rec::op) == "cut";
  const PlacedEntry placed = placer->place(edited, g, e, cut);
  const int layer = edited.Apr_span[e.record].layer;
  const Cell position = g.drawing.layer(layer).at(e.element, col::position);
  for (Table* t : {&edited.Apr_dat, &edited.Ord_dat}) {
    const std::size_t row = t == &edited.Apr_dat ? e.record : p;
    t->at(row, rec::element) = position;
    set_point(*t, row, rec::apr_x, rec::apr_y, placed.apr_x, placed.apr_y);
    set_point(*t, row, rec::hit_x, rec::hit_y, placed.hit_x, placed.hit_y);
  }
  // What the run said of the contour's lead-in no longer holds.
  const std::string name =
      contour_reference(A.at(e.record, rec::layer).text_form(), A.at(e.record, rec::contour).text_form()) +
      ": ";
  std::erase_if(edited.warnings, [&](const Warning& w) { return w.message.rfind(name, 0) == 0; });
  if (cut && !placed.doubt.empty()) edited.warnings.push_back({name + placed.doubt});
}

void turn_over(Assignment& edited, const Edit& e, std::size_t p) {
  Table& O = edited.Ord_dat;
  const double cx = O.at(p, rec::hit_x).number(), cy = O.at(p, rec::hit_y).number();
  const double ax = 2 * cx - O.at(p, rec::apr_x).number(), ay = 2 * cy - O.at(p, rec::apr_y).number();
  set_point(O, p, rec::apr_x, rec::apr_y, ax, ay);
  set_point(edited.Apr_dat, e.record, rec::apr_x, rec::apr_y, ax, ay);
}

void move_after(EditedList& list, std::size_t p, std::size_t q) {
  auto& o = list.order;
  o.erase(std::find(o.begin(), o.end(), p));
  o.insert(std::find(o.begin(), o.end(), q) + 1, p);
}

// The cut list in the edited order without the contours left out.
void rebuild_cut_list(Assignment& edited, const Assignment& automatic, const EditedList& list) {
  const std::size_t M = automatic.Ord_apr_row.size();
  std::vector<std::size_t> kept;
  for (const std::size_t p : list.order)
    if (!list.left_out[p]) kept.push_back(p);
  const Table edited_rows = std::move(edited.Ord_dat);
  edited.Ord_dat = Table(kept.size(), automatic.Ord_dat.cols() - 1);
  edited.Ord_apr_row.assign(kept.size(), 0);
  const bool parts = !automatic.Ord_part_outline.empty();
  edited.Ord_part_outline.assign(parts ? kept.size() : 0, 0);
  for (std::size_t i = 0; i < kept.size(); ++i) {
    edited.Ord_dat.copy_row(i, edited_rows, kept[i]);
    edited.Ord_apr_row[i] = automatic.Ord_apr_row[kept[i]];
    // A marking frees nothing, so it holds nothing by a joint.
    if (parts)
      edited.Ord_part_outline[i] =
          edited_rows.at(kept[i], rec::op) == "cut" ? automatic.Ord_part_outline[kept[i]] : 0;
  }
  edited.last_is_outline =
      automatic.last_is_outline && M > 0 && !list.left_out[M - 1] && edited_rows.at(M - 1, rec::op) == "cut";
  edited.skipped.clear();
  for (std::size_t p = 0; p < M; ++p)
    if (list.left_out[p]) edited.skipped.push_back(automatic.Ord_apr_row[p]);
}

}  // namespace

const char* edit_word(EditKind kind) {
  switch (kind) {
    case EditKind::entry: return "entry";
    case EditKind::flip: return "flip";
    case EditKind::mark: return "mark";
    case EditKind::cut: return "cut";
    case EditKind::skip: return "skip";
    case EditKind::after: return "after";
  }
  return "";
}

std::optional<ContourHit> contour_near(const Assignment& automatic, const Drawing& drawing, double x,
                                       double y, double tolerance) {
  std::optional<ContourHit> best;
  const std::size_t n = std::min(automatic.Apr_dat.rows(), automatic.Apr_span.size());
  for (std::size_t k = 0; k < n; ++k) {
    const ContourSpan& span = automatic.Apr_span[k];
    if (span.layer < 0 || automatic.Apr_dat.at(k, rec::layer).is_empty() || !drawing.has_layer(span.layer))
      continue;
    const Table& W = drawing.layer(span.layer);
    for (std::size_t r = span.first; r < span.end && r < W.rows(); ++r) {
      const std::optional<Point> q = nearest_of_row(W, r, {x, y});
      if (!q) continue;
      const double d = std::hypot(q->x - x, q->y - y);
      if (d <= tolerance && (!best || d < best->distance)) best = ContourHit{k, r, q->x, q->y, d};
    }
  }
  return best;
}

double edit_tolerance(const Preview& preview, const Settings& settings) {
  const double pixel = preview.fit.Scr_k > 0 ? 1.0 / static_cast<double>(preview.fit.Scr_k) : 0.0;
  const double approach = settings.approach();
  return std::max(pixel, std::isfinite(approach) ? approach : 0.0);
}

std::string edit_refusal(const Assignment& automatic, const Edit& edit) {
  const Table& A = automatic.Apr_dat;
  if (edit.record >= A.rows()) return "no contour there";
  const Cell& kind = A.at(edit.record, rec::kind);
  switch (edit.kind) {
    case EditKind::entry:
    case EditKind::flip:
      if (!has_lead_in(kind))
        return "an open contour or a point has no lead-in: it is cut from where it starts";
      break;
    case EditKind::cut:
      if (kind == kind_text(ContourKind::point)) return "a point is only marked";
      break;
    case EditKind::after: {
      if (edit.follows >= A.rows()) return "no contour there";
      if (edit.follows == edit.record) return "a contour cannot be cut after itself";
      const std::size_t held = held_outline(automatic);
      if (edit.record == held || edit.follows == held)
        return "the outline is cut last, when everything inside it is done";
      break;
    }
    case EditKind::mark:
    case EditKind::skip: break;
  }
  return "";
}

void apply_edits(Assignment& edited, const Assignment& automatic, const std::vector<Edit>& edits,
                 const EditGround& ground) {
  edited = automatic;
  const std::size_t M = automatic.Ord_apr_row.size();
  std::vector<std::size_t> place_of(automatic.Apr_dat.rows(), M);
  for (std::size_t p = 0; p < M; ++p)
    if (automatic.Ord_apr_row[p] < place_of.size()) place_of[automatic.Ord_apr_row[p]] = p;
  EditedList list{std::vector<std::size_t>(M), std::vector<char>(M, 0)};
  std::iota(list.order.begin(), list.order.end(), std::size_t{0});
  std::unique_ptr<EntryPlacer> placer;
  for (const Edit& e : edits) {
    if (!edit_refusal(automatic, e).empty() || place_of[e.record] >= M) continue;
    const std::size_t p = place_of[e.record];
    switch (e.kind) {
      case EditKind::entry: enter_anew(edited, ground, e, p, placer); break;
      case EditKind::flip: turn_over(edited, e, p); break;
      case EditKind::mark:
      case EditKind::cut:
        edited.Apr_dat.at(e.record, rec::op) = edit_word(e.kind);
        edited.Ord_dat.at(p, rec::op) = edit_word(e.kind);
        break;
      case EditKind::skip: list.left_out[p] = list.left_out[p] ? 0 : 1; break;
      case EditKind::after:
        if (place_of[e.follows] < M) move_after(list, p, place_of[e.follows]);
        break;
    }
  }
  rebuild_cut_list(edited, automatic, list);
}

}  // namespace makenc
