// Hand-built drawings, cut lists and host folders for the NC tests: the
// reader and the assignment are not needed to know what NC generation does
// with their results.
#pragma once

#include <cmath>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

#include "assign/assignment.h"
#include "core/constants.h"
#include "core/drawing.h"
#include "core/settings.h"
#include "core/table.h"
#include "core/text.h"
#include "nc/contour_path.h"
#include "nc/hand_back.h"
#include "support/files.h"

namespace makenc::test {

// Entity rows as chaining leaves them: kind, end points, centre, radius,
// angles, length, contour number and position.
struct LayerBuilder {
  std::vector<std::vector<Cell>> rows;

  std::vector<Cell>& row(const char* kind, int contour, int position) {
    rows.emplace_back(kLastColumn + 1);
    auto& r = rows.back();
    r[col::kind] = kind;
    r[col::colour] = "2";
    r[col::contour] = contour;
    r[col::position] = position;
    return r;
  }
  LayerBuilder& line(double x1, double y1, double x2, double y2, int contour, int position) {
    auto& r = row("li", contour, position);
    r[col::x1] = x1, r[col::y1] = y1, r[col::x2] = x2, r[col::y2] = y2;
    r[col::length] = pt_dist(x1, y1, x2, y2);
    return *this;
  }
  // An arc counter-clockwise from `as` to `ae` degrees; `swapped` stores its
  // end point first, as chaining does when the contour runs the other way.
  LayerBuilder& arc(double cx, double cy, double r, double as, double ae, int contour, int position,
                    bool swapped = false);
  // The rectangle 0,0 - w,h chained clockwise from its bottom side, which
  // runs from (w, 0) to (0, 0).
  LayerBuilder& rectangle(double w, double h, int contour) {
    return line(w, 0, 0, 0, contour, 1)
        .line(0, 0, 0, h, contour, 2)
        .line(0, h, w, h, contour, 3)
        .line(w, h, w, 0, contour, 4);
  }
  LayerBuilder& circle(double cx, double cy, double r, int contour) {
    auto& row_ = row("ci", contour, 1);
    row_[col::cx] = cx, row_[col::cy] = cy, row_[col::radius] = double_text_cell(r);
    row_[col::length] = 2 * kPi * r;
    return *this;
  }
  LayerBuilder& point(double x, double y, int contour) {
    auto& r = row("pt", contour, 1);
    r[col::x1] = x, r[col::y1] = y;
    return *this;
  }
  // The table with its spare row.
  Table table() const {
    Table t(rows.size(), kLastColumn);
    for (std::size_t i = 0; i < rows.size(); ++i)
      for (std::size_t c = 0; c < rows[i].size(); ++c) t.at(i, c) = rows[i][c];
    return t;
  }
  // The radius stays the text of the file.
  static Cell double_text_cell(double r) { return Cell(r).text_form(); }
};

inline LayerBuilder& LayerBuilder::arc(double cx, double cy, double r, double as, double ae, int contour,
                                       int position, bool swapped) {
  auto& row_ = row("cci", contour, position);
  const double a = as * kPi / 180, b = ae * kPi / 180;
  double x1 = cx + r * std::cos(a), y1 = cy + r * std::sin(a);
  double x2 = cx + r * std::cos(b), y2 = cy + r * std::sin(b);
  if (swapped) std::swap(x1, x2), std::swap(y1, y2);
  row_[col::x1] = x1, row_[col::y1] = y1, row_[col::x2] = x2, row_[col::y2] = y2;
  row_[col::cx] = cx, row_[col::cy] = cy, row_[col::radius] = double_text_cell(r);
  row_[col::start_angle] = as, row_[col::end_angle] = ae, row_[col::tilt] = 0.0;
  const double sweep = ae >= as ? ae - as : ae - as + 360;
  row_[col::length] = 2 * kPi * r * sweep / 360;
  return *this;
}

// One record of the cut list.
struct Record {
  const char* layer;
  int contour;
  int approach;
  double ax, ay, cx, cy;
  const char* op;    // "cut" or "mark"
  const char* kind;  // "loop", "circle", "line", "pt"
};

inline Table cut_list(std::initializer_list<Record> records) {
  Table t(records.size(), 15);
  std::size_t k = 0;
  for (const Record& r : records) {
    t.at(k, 0) = r.layer;
    t.at(k, 1) = r.contour;
    t.at(k, 2) = r.approach;
    t.at(k, 3) = r.ax, t.at(k, 4) = r.ay, t.at(k, 5) = r.cx, t.at(k, 6) = r.cy;
    t.at(k, 7) = r.op;
    t.at(k, 8) = r.kind;
    ++k;
  }
  return t;
}

// The conditions of the worked example: holes below radius 15 and elements
// below length 50 get K1, elements below 200 K2, the rest K3.
inline Settings example_settings() {
  Settings s;
  s.ini_S_suu = 1000;
  s.ini_Cond = {CondRow{{"15", "50", "K1"}}, CondRow{{"100", "200", "K2"}}, CondRow{{"300", "1000", "K3"}}};
  s.ini_M_Joukn = "KM";
  s.ini_joint = 3.0f;
  return s;
}

// Start codes with a stop line, so a test sees where they are cut off.
inline NcTemplates example_templates() {
  NcTemplates t;
  t.Sta_cut = {"M07", "(CUT)", "", "NOT SENT", ""};
  t.Sta_mark = {"M08", "", ""};
  t.End_cd = {"M09", "", "M99", ""};
  return t;
}

// Everything one NC run reads, owned in one place.
struct NcCase {
  std::filesystem::path folder;
  Drawing drawing;
  Settings settings = example_settings();
  Assignment assignment;
  NcOptions options;
  std::string date = "2026/12/06";

  NcCase() {
    options.layers.fill(true);
    options.joints = false;
  }
  NcInput input() const { return NcInput{folder, drawing, settings, assignment, options, date}; }
  void set_layer(int k, const LayerBuilder& b) {
    drawing.LY_dat[static_cast<std::size_t>(k)] = b.table();
    drawing.LY_cnt[static_cast<std::size_t>(k)] = static_cast<std::int64_t>(b.rows.size());
    drawing.LY_cntAll = 0;
    for (auto c : drawing.LY_cnt) drawing.LY_cntAll += c;
  }
};

// The drawing of the worked example: a hole of radius 10 and a rectangle
// 100 x 60 on ly0, a marking line on ly1; the rectangle is the outline.
inline NcCase worked_example() {
  NcCase c;
  c.set_layer(0, LayerBuilder{}.rectangle(100, 60, 1).circle(30, 30, 10, 2));
  c.set_layer(1, LayerBuilder{}.line(60, 20, 80, 20, 3, 1));
  c.assignment.Ord_dat = cut_list({{"ly0", 2, 1, 30, 25, 30, 20, "cut", "circle"},
                                   {"ly1", 3, 1, 60, 20, 80, 20, "mark", "line"},
                                   {"ly0", 1, 3, 50, 65, 50, 60, "cut", "loop"}});
  c.assignment.last_is_outline = true;
  c.drawing.X_min = 10.0, c.drawing.Y_min = 20.0;
  c.drawing.X_max = 110.0, c.drawing.Y_max = 80.0;
  c.drawing.File_lin = "file=C:\\data\\part.jww";
  return c;
}

// The five templates and the working copy's folder in a host folder.
inline void write_host_templates(const std::filesystem::path& folder) {
  const auto bin = folder / "Zemlak" / "Bin";
  write_file(bin / "head.ini", "%\r\n(DATE dete)\r\n(Nc_name)\r\n(WIDExHIGHT)\r\n");
  write_file(bin / "sta_cut.ini", "M07\r\n(CUT)\r\n\r\nNOT SENT\r\n");
  write_file(bin / "sta_mark.ini", "M08\r\n");
  write_file(bin / "end.ini", "M09\r\n\r\nM99\r\n");
  write_file(bin / "foot.ini", "M30\r\n(Nc_name)\r\n%\r\n");
}

}  // namespace makenc::test
