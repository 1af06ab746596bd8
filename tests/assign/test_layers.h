// Chained layer tables written by hand: rows in contour order, the columns
// of an entity row as start-up leaves them.
#pragma once

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/constants.h"
#include "core/drawing.h"
#include "core/table.h"

namespace makenc::test {

class LayerBuilder {
 public:
  explicit LayerBuilder(int first_contour = 1) : next_contour_(first_contour) {}

  // The next line or arc starts a new contour.
  LayerBuilder& contour() {
    open_ = false;
    return *this;
  }

  LayerBuilder& line(double x1, double y1, double x2, double y2, const std::string& colour = "2") {
    Row& r = add("li", colour, pt_dist(x1, y1, x2, y2));
    set_ends(r, x1, y1, x2, y2);
    touch(r, std::min(x1, x2), std::min(y1, y2));
    return *this;
  }

  // Counter-clockwise from start to end angle (degrees).
  LayerBuilder& arc(double cx, double cy, double radius, double sa, double ea,
                    const std::string& colour = "2") {
    const double sweep = ea < sa ? ea - sa + 360 : ea - sa;
    Row& r = add("cci", colour, 2 * kPi * radius * sweep / 360);
    const double x1 = cx + radius * std::cos(sa * kPi / 180), y1 = cy + radius * std::sin(sa * kPi / 180);
    const double x2 = cx + radius * std::cos(ea * kPi / 180), y2 = cy + radius * std::sin(ea * kPi / 180);
    set_ends(r, x1, y1, x2, y2);
    set_round(r, cx, cy, radius);
    r[col::start_angle] = Cell(sa);
    r[col::end_angle] = Cell(ea);
    r[col::tilt] = Cell(0.0);
    touch(r, std::min(x1, x2), std::min(y1, y2));
    return *this;
  }

  LayerBuilder& circle(double cx, double cy, double radius, const std::string& colour = "2") {
    open_ = false;
    Row& r = add("ci", colour, 2 * kPi * radius);
    for (int c = col::x1; c <= col::y2; ++c) r[c] = "";
    set_round(r, cx, cy, radius);
    r[col::start_angle] = "";
    r[col::end_angle] = "";
    touch(r, cx - radius, cy - radius);
    open_ = false;
    return *this;
  }

  LayerBuilder& point(double x, double y, const std::string& colour = "2") {
    open_ = false;
    Row& r = add("pt", colour, 0);
    r[col::x1] = Cell(x);
    r[col::y1] = Cell(y);
    r[col::length] = Cell();
    touch(r, x, y);
    open_ = false;
    return *this;
  }

  // A row of a kind the machine cannot follow, chained like a line.
  LayerBuilder& other(const std::string& kind, double x1, double y1, double x2, double y2) {
    Row& r = add(kind, "2", pt_dist(x1, y1, x2, y2));
    set_ends(r, x1, y1, x2, y2);
    return *this;
  }

  // Sets column `c` of the last row added.
  LayerBuilder& with(int c, Cell value) {
    rows_.back()[static_cast<std::size_t>(c)] = std::move(value);
    return *this;
  }

  int next_contour() const { return next_contour_; }

  Table table() const {
    Table t(rows_.size(), kLastColumn);
    for (std::size_t r = 0; r < rows_.size(); ++r)
      for (std::size_t c = 0; c <= kLastColumn; ++c) t.at(r, c) = rows_[r][c];
    return t;
  }

 private:
  using Row = std::vector<Cell>;

  Row& add(const std::string& kind, const std::string& colour, double length) {
    if (!open_) {
      contour_ = next_contour_++;
      position_ = 0;
      open_ = true;
    }
    rows_.emplace_back(kLastColumn + 1);
    Row& r = rows_.back();
    r[col::kind] = kind;
    r[col::colour] = colour;
    r[col::length] = Cell(length);
    r[col::contour] = Cell(contour_);
    r[col::position] = Cell(++position_);
    return r;
  }

  static void set_ends(Row& r, double x1, double y1, double x2, double y2) {
    r[col::x1] = Cell(x1);
    r[col::y1] = Cell(y1);
    r[col::x2] = Cell(x2);
    r[col::y2] = Cell(y2);
  }

  static void set_round(Row& r, double cx, double cy, double radius) {
    r[col::cx] = Cell(cx);
    r[col::cy] = Cell(cy);
    r[col::radius] = Cell(radius);
  }

  // The outline mark of an entity touching the left or bottom edge.
  static void touch(Row& r, double min_x, double min_y) {
    if (min_x <= 1e-9 || min_y <= 1e-9) r[col::outline] = "G";
  }

  std::vector<Row> rows_;
  int next_contour_;
  int contour_ = 0;
  int position_ = 0;
  bool open_ = false;
};

// A drawing spanning (0, 0)..(width, height) with the given layer tables.
inline Drawing make_drawing(double width, double height, std::map<int, Table> layers,
                            std::int64_t Cnt_total) {
  Drawing d;
  d.X_min = Cell(0.0);
  d.Y_min = Cell(0.0);
  d.X_max = Cell(width);
  d.Y_max = Cell(height);
  for (auto& [k, t] : layers) d.LY_dat[static_cast<std::size_t>(k)] = std::move(t);
  d.Cnt_total = Cnt_total;
  return d;
}

}  // namespace makenc::test
