// The moves along a contour's elements, the words they carry and the
// direction test of a loop entered on a line.
#include "nc/contour_moves.h"

#include <cmath>

#include "core/constants.h"

namespace makenc {

ContourElement read_element(const Table& table, std::size_t row) {
  auto num = [&](int c) { return table.at(row, static_cast<std::size_t>(c)).number(); };
  ContourElement e;
  e.kind = table.at(row, col::kind).text_form();
  e.p1 = {num(col::x1), num(col::y1)};
  e.p2 = {num(col::x2), num(col::y2)};
  e.centre = {num(col::cx), num(col::cy)};
  e.r = num(col::radius);
  e.as = num(col::start_angle);
  e.ae = num(col::end_angle);
  e.length = num(col::length);
  e.number = table.at(row, col::position);
  return e;
}

ConditionLimits condition_limits(const Settings& settings) {
  ConditionLimits limits;
  for (std::size_t i = 0; i < limits.r_min.size(); ++i) {
    limits.r_min[i] = settings.ini_Cond[i].r_min();
    limits.l_min[i] = settings.ini_Cond[i].l_min();
  }
  return limits;
}

bool cell_as_number(const Cell& c, double& out) {
  if (c.is_number()) {
    out = c.number();
    return true;
  }
  return c.is_text() && parse_strict_number(c.text(), out);
}

namespace {

Point rounded(Point p, std::int16_t S) { return {round_to_grid(p.x, S), round_to_grid(p.y, S)}; }

bool same_point(Point a, Point b) { return a.x == b.x && a.y == b.y; }

Point on_arc(const ContourElement& e, double degrees) {
  const double a = degrees * kPi / 180;
  return {e.centre.x + e.r * std::cos(a), e.centre.y + e.r * std::sin(a)};
}

void put_word(ContourWalk& walk, char letter, double v) {
  if (!add_word(walk.run.blocks, letter, v, walk.run.settings.ini_S_suu)) walk.bad_number = true;
}

void put_offset_word(ContourWalk& walk, char letter, double v) {
  if (round_to_grid(v, walk.run.settings.ini_S_suu) == 0) return;
  put_word(walk, letter, v);
}

// An arc entered at its start point runs counter-clockwise, one entered at
// its end point clockwise; an arc whose near end is neither keeps the word.
void put_arc_element(ContourWalk& walk, const ContourElement& e, Point near, Point far) {
  const std::int16_t S = walk.run.settings.ini_S_suu;
  const Point n = rounded(near, S);
  if (same_point(n, rounded(on_arc(e, e.as), S)))
    walk.run.arc_word = ArcWord::G03;
  else if (same_point(n, rounded(on_arc(e, e.ae), S)))
    walk.run.arc_word = ArcWord::G02;
  if (walk.run.arc_word == ArcWord::none) walk.no_direction = true;
  open_block(walk.run.blocks, arc_word_text(walk.run.arc_word));
  put_xy(walk, far);
  put_ij(walk, e.centre.x - near.x, e.centre.y - near.y);
  close_block(walk.run.blocks);
  travel_arc(walk.run.travel, walk.run.arc_word, e.centre, far);
}

}  // namespace

bool same_number(const Cell& a, const Cell& b) {
  if (a.is_empty() || b.is_empty()) return false;
  double x = 0, y = 0;
  if (cell_as_number(a, x) && cell_as_number(b, y)) return x == y;
  return a.text_form() == b.text_form();
}

namespace {
double arc_turn(ArcWord word, Point centre, Point from, Point to) {
  double turn =
      std::atan2(to.y - centre.y, to.x - centre.x) - std::atan2(from.y - centre.y, from.x - centre.x);
  if (word == ArcWord::G02) turn = -turn;
  if (turn <= 0) turn += 2 * kPi;
  return turn;
}
}  // namespace

double PathPiece::length() const {
  if (word == ArcWord::none) return std::hypot(to.x - from.x, to.y - from.y);
  return std::hypot(from.x - centre.x, from.y - centre.y) * arc_turn(word, centre, from, to);
}

void travel_line(ToolTravel& travel, Point to, bool rapid) {
  (rapid ? travel.rapid : travel.feed) += std::hypot(to.x - travel.at.x, to.y - travel.at.y);
  if (!rapid && travel.trace) travel.trace->push_back({travel.at, to, {}, ArcWord::none});
  travel.at = to;
}

void travel_arc(ToolTravel& travel, ArcWord word, Point centre, Point to) {
  const Point from = travel.at;
  travel.feed += std::hypot(from.x - centre.x, from.y - centre.y) * arc_turn(word, centre, from, to);
  if (travel.trace) travel.trace->push_back({from, to, centre, word});
  travel.at = to;
}

const char* arc_word_text(ArcWord word) {
  switch (word) {
    case ArcWord::G02: return "G02";
    case ArcWord::G03: return "G03";
    case ArcWord::none: break;
  }
  return "";
}

void put_xy(ContourWalk& walk, Point p) {
  put_word(walk, 'X', p.x);
  put_word(walk, 'Y', p.y);
}

void put_ij(ContourWalk& walk, double di, double dj) {
  put_offset_word(walk, 'I', di);
  put_offset_word(walk, 'J', dj);
}

void put_elements(ContourWalk& walk, std::size_t start, int step, std::size_t count) {
  const std::size_t m = walk.elements.size();
  if (m == 0) return;
  std::size_t index = start % m;
  for (std::size_t n = 0; n < count; ++n) {
    const ContourElement& e = walk.elements[index];
    const Point near = step > 0 ? e.p1 : e.p2;
    const Point far = step > 0 ? e.p2 : e.p1;
    if (e.kind == "li") {
      open_block(walk.run.blocks, "G01");
      put_xy(walk, far);
      close_block(walk.run.blocks);
      travel_line(walk.run.travel, far, false);
      walk.last = far;
    } else if (e.kind == "cci") {
      put_arc_element(walk, e, near, far);
      walk.last = far;
    }
    index = step > 0 ? (index + 1) % m : (index + m - 1) % m;
  }
}

bool starts_left_turn(Point A, Point C, Point P2, std::int16_t S) {
  const double dx1 = round_to_grid(C.x - A.x, S), dy1 = round_to_grid(C.y - A.y, S);
  const double dx2 = round_to_grid(P2.x - C.x, S), dy2 = round_to_grid(P2.y - C.y, S);
  return dx1 * dy2 - dy1 * dx2 > 0;
}

}  // namespace makenc
