#include "support/scrap_side.h"

#include <cmath>
#include <map>
#include <utility>

#include "assign/placement.h"
#include "core/constants.h"

namespace makenc::test {
namespace {

// A ray to +x that meets no end point or tangent of a drawing on a grid:
// its height is offset by an amount no drawing coordinate shares.
constexpr double kRayOffset = 1.2345678901e-7;

bool within_sweep(double angle, double from, double to) {
  auto norm = [](double a) { return std::fmod(std::fmod(a, 360.0) + 360.0, 360.0); };
  const double sweep = norm(to - from);
  return norm(angle - from) <= (sweep == 0 ? 360.0 : sweep);
}

// Crossings of the ray from (px, py) to +x with one entity row.
int crossings(const Table& t, std::size_t r, double px, double py) {
  auto num = [&](int c) { return t.at(r, static_cast<std::size_t>(c)).number(); };
  const Cell& kind = t.at(r, col::kind);
  if (kind == "li") {
    const double x1 = num(col::x1), y1 = num(col::y1), x2 = num(col::x2), y2 = num(col::y2);
    if ((y1 > py) == (y2 > py)) return 0;
    return x1 + (py - y1) * (x2 - x1) / (y2 - y1) > px ? 1 : 0;
  }
  if (!(kind == "ci") && !(kind == "cci")) return 0;
  const double cx = num(col::cx), cy = num(col::cy), radius = num(col::radius);
  const double dy = py - cy;
  if (std::fabs(dy) >= radius) return 0;
  const double half = std::sqrt(radius * radius - dy * dy);
  int n = 0;
  for (double x : {cx - half, cx + half}) {
    if (x <= px) continue;
    const double angle = std::atan2(dy, x - cx) * 180 / kPi;
    if (kind == "ci" || within_sweep(angle, num(col::start_angle), num(col::end_angle))) ++n;
  }
  return n;
}

std::size_t records(const Table& Ord_dat) { return Ord_dat.rows() == 0 ? 0 : Ord_dat.last_row(); }

// The outline is the held-back last record, when it is the outline's.
bool is_outline(const Assignment& a, std::size_t k) {
  return a.last_is_outline && k + 1 == records(a.Ord_dat);
}

bool is_closed_cut(const Assignment& a, std::size_t k, bool outline_is_cut) {
  const Table& Ord_dat = a.Ord_dat;
  if (!(Ord_dat.at(k, rec::op) == "cut")) return false;
  if (!outline_is_cut && is_outline(a, k)) return false;
  return Ord_dat.at(k, rec::kind) == "loop" || Ord_dat.at(k, rec::kind) == "circle";
}

// The layer of a record: its name "ly0".."ly5".
int layer_of(const Table& Ord, std::size_t k) { return layer_number(Ord.at(k, rec::layer).text_form()); }

// The rows of each contour of the cut list, found once for a whole cut list.
class ContourRows {
 public:
  ContourRows(const Drawing& drawing, const Assignment& assignment) : rows_(records(assignment.Ord_dat)) {
    const Table& Ord = assignment.Ord_dat;
    std::map<std::pair<int, double>, std::size_t> record_of;
    for (std::size_t k = 0; k < rows_.size(); ++k)
      record_of[{layer_of(Ord, k), Ord.at(k, rec::contour).number()}] = k;
    for (std::size_t layer = 0; layer < drawing.LY_dat.size(); ++layer) {
      if (!drawing.LY_dat[layer]) continue;
      const Table& t = *drawing.LY_dat[layer];
      for (std::size_t r = 0; r + 1 < t.rows(); ++r) {
        auto it = record_of.find({static_cast<int>(layer), t.at(r, col::contour).number()});
        if (it != record_of.end()) rows_[it->second].push_back(r);
      }
    }
  }
  const std::vector<std::size_t>& of(std::size_t k) const { return rows_[k]; }

 private:
  std::vector<std::vector<std::size_t>> rows_;
};

int containing(const Drawing& drawing, const Assignment& assignment, const ContourRows& rows, double x,
               double y, bool outline_is_cut) {
  const Table& Ord = assignment.Ord_dat;
  const double py = y + kRayOffset;
  int inside = 0;
  for (std::size_t k = 0; k < records(Ord); ++k) {
    if (!is_closed_cut(assignment, k, outline_is_cut)) continue;
    const int layer = layer_of(Ord, k);
    if (layer < 0 || !drawing.LY_dat[static_cast<std::size_t>(layer)]) continue;
    const Table& t = *drawing.LY_dat[static_cast<std::size_t>(layer)];
    int n = 0;
    for (std::size_t r : rows.of(k)) n += crossings(t, r, x, py);
    inside += n % 2;
  }
  return inside;
}

}  // namespace

int containing_contours(const Drawing& drawing, const Assignment& assignment, double x, double y,
                        bool outline_is_cut) {
  return containing(drawing, assignment, ContourRows(drawing, assignment), x, y, outline_is_cut);
}

std::vector<LeadInStart> lead_ins_in_material(const Drawing& drawing, const Assignment& assignment,
                                              bool outline_is_cut) {
  const Table& Ord = assignment.Ord_dat;
  const ContourRows rows(drawing, assignment);
  std::vector<LeadInStart> wrong;
  for (std::size_t k = 0; k < records(Ord); ++k) {
    if (!is_closed_cut(assignment, k, outline_is_cut)) continue;
    LeadInStart s{Ord.at(k, rec::layer).text_form(), Ord.at(k, rec::contour).text_form(),
                  Ord.at(k, rec::apr_x).number(), Ord.at(k, rec::apr_y).number(), 0};
    s.containing = containing(drawing, assignment, rows, s.x, s.y, outline_is_cut);
    if (s.containing % 2 == 1) wrong.push_back(s);
  }
  return wrong;
}

}  // namespace makenc::test
