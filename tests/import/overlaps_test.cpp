// Lines and arcs of one layer that lie over each other only in part.
#include "import/overlaps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "support/drawing_rows.h"

namespace makenc {
namespace {

using test::arc_row;
using test::line_row;
using test::Row;

// The rows as chaining leaves them: each in a contour of its own.
Table chained(std::vector<Row> rows) {
  for (std::size_t i = 0; i < rows.size(); ++i) {
    rows[i][col::contour] = Cell(static_cast<double>(i + 1));
    rows[i][col::position] = Cell(1.0);
  }
  rows.push_back(Row(rows.empty() ? kLastColumn + 1 : rows[0].size()));
  return test::layer_table(rows);
}

TEST(PartialOverlaps, CollinearStretchesSharingMoreThanTheTolerance) {
  struct Case {
    const char* what;
    std::vector<Row> rows;
    std::size_t overlapping;
  };
  const std::vector<Case> cases{
      {"the taller part's side over the shorter's", {line_row(0, 0, 0, 100), line_row(0, 0, 0, 60)}, 2},
      {"drawn the other way round", {line_row(0, 0, 0, 100), line_row(0, 80, 0, 20)}, 2},
      {"on a slant", {line_row(0, 0, 30, 40), line_row(15, 20, 45, 60)}, 2},
      {"a copy is no partial overlap", {line_row(0, 0, 0, 100), line_row(0, 100, 0, 0)}, 0},
      {"end to end", {line_row(0, 0, 0, 50), line_row(0, 50, 0, 100)}, 0},
      {"sharing less than the tolerance", {line_row(0, 0, 0, 50), line_row(0, 49.995, 0, 100)}, 0},
      {"parallel, a hair more than the tolerance apart",
       {line_row(0, 0, 0, 50), line_row(0.02, 10, 0.02, 40)},
       0},
      {"crossing", {line_row(0, 0, 100, 100), line_row(0, 100, 100, 0)}, 0},
      {"one line over two others",
       {line_row(0, 0, 100, 0), line_row(10, 0, 30, 0), line_row(50, 0, 150, 0)},
       3},
  };
  for (const Case& c : cases)
    EXPECT_EQ(count_partial_overlaps(chained(c.rows), 0.01), c.overlapping) << c.what;
}

TEST(PartialOverlaps, ArcsOfOneCircleWhoseSweepsOverlap) {
  struct Case {
    const char* what;
    std::vector<Row> rows;
    std::size_t overlapping;
  };
  const std::vector<Case> cases{
      {"quarter over half", {arc_row(0, 0, 10, 0, 180), arc_row(0, 0, 10, 90, 180)}, 2},
      {"across zero degrees", {arc_row(0, 0, 10, 300, 30), arc_row(0, 0, 10, 0, 90)}, 2},
      {"the same arc", {arc_row(0, 0, 10, 0, 90), arc_row(0, 0, 10, 0, 90)}, 0},
      {"end to end", {arc_row(0, 0, 10, 0, 90), arc_row(0, 0, 10, 90, 180)}, 0},
      {"another radius", {arc_row(0, 0, 10, 0, 180), arc_row(0, 0, 12, 90, 180)}, 0},
      {"another centre", {arc_row(0, 0, 10, 0, 180), arc_row(1, 0, 10, 90, 180)}, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(count_partial_overlaps(chained(c.rows), 0.01), c.overlapping) << c.what;
}

// Pairs of lines anywhere on the lattice the finder files them by: their
// direction and offset on either side of a bucket's edge, negative and
// positive, each pair overlapping by half its length.
TEST(PartialOverlaps, FoundWhereverThePairLiesAmongTheBuckets) {
  constexpr double kTol = 0.01;
  int pairs = 0;
  for (int k = -40; k <= 40; ++k) {
    const double offset = k * 0.0037;  // a tenth of a bucket's width apart, across several edges
    for (const double apart : {0.0, 0.006, -0.006}) {
      for (int j = 0; j <= 6; ++j) {
        const double angle = j * 1.7e-6 + (k % 2 == 0 ? 0.0 : 3.14159265358979 / 6);
        const double c = std::cos(angle), sn = std::sin(angle);
        // Along the direction from the point `offset` across it.
        const auto at = [&](double along, double across) {
          return std::pair{along * c - (offset + across) * sn, along * sn + (offset + across) * c};
        };
        const auto [ax, ay] = at(-20, 0);
        const auto [bx, by] = at(20, 0);
        const auto [cx, cy] = at(0, apart);
        const auto [dx, dy] = at(40, apart);
        EXPECT_EQ(count_partial_overlaps(chained({line_row(ax, ay, bx, by), line_row(cx, cy, dx, dy)}), kTol),
                  2u)
            << "offset " << offset << ", apart " << apart << ", angle " << angle;
        ++pairs;
      }
    }
  }
  EXPECT_EQ(pairs, 81 * 3 * 7);
}

// The edges of a row of parts on one line: only those that overlap count,
// in whatever order the rows come.
TEST(PartialOverlaps, OfManyEdgesOnOneLineOnlyTheOverlappingCount) {
  std::vector<Row> rows;
  for (int i = 0; i < 400; ++i) rows.push_back(line_row(11.0 * i, 5, 11.0 * i + 10, 5));
  EXPECT_EQ(count_partial_overlaps(chained(rows), 0.01), 0u);
  rows.push_back(line_row(1105, 5, 1125, 5));  // over the edges from 1100, 1111 and 1122
  EXPECT_EQ(count_partial_overlaps(chained(rows), 0.01), 4u);
  std::reverse(rows.begin(), rows.end());
  EXPECT_EQ(count_partial_overlaps(chained(rows), 0.01), 4u);
  rows.push_back(line_row(11000, 5, 12000, 5));  // far along the line: overlaps nothing
  EXPECT_EQ(count_partial_overlaps(chained(rows), 0.01), 4u);
}

TEST(PartialOverlaps, RowsInNoContourAreLeftOut) {
  Table t = chained({line_row(0, 0, 0, 100), line_row(0, 0, 0, 60)});
  t.at(1, col::contour) = Cell();
  EXPECT_EQ(count_partial_overlaps(t, 0.01), 0u);
}

}  // namespace
}  // namespace makenc
