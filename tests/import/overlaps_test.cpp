// Lines and arcs of one layer that lie over each other only in part.
#include "import/overlaps.h"

#include <gtest/gtest.h>

#include <string>
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

TEST(PartialOverlaps, RowsInNoContourAreLeftOut) {
  Table t = chained({line_row(0, 0, 0, 100), line_row(0, 0, 0, 60)});
  t.at(1, col::contour) = Cell();
  EXPECT_EQ(count_partial_overlaps(t, 0.01), 0u);
}

}  // namespace
}  // namespace makenc
