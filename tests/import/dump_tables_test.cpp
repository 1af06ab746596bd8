// The plain-text dump of the tables.
#include <gtest/gtest.h>

#include "core/constants.h"
#include "import/dump_tables.h"

namespace makenc {
namespace {

TEST(DumpTables, RowsOfEachLayerThenCountAndBox) {
  Drawing d;
  d.LY_dat[1] = Table(2, kLastColumn);
  Table& t = d.layer(1);
  t.at(0, 0) = "li";
  t.at(0, 1) = 0.5;
  t.at(0, 3) = "12.50";
  t.at(0, 11) = "2";
  t.at(0, 13) = std::int64_t{1};
  t.at(0, 15) = "G";
  t.at(1, 0) = "";
  t.at(2, 0) = "spare";  // the spare row is not printed
  d.Cnt_total = 1;
  d.X_min = "-5";
  d.Y_min = 0.25;
  d.X_max = 1e-20;
  d.Y_max = Cell(2.0f);
  EXPECT_EQ(dump_tables(d),
            "ly1\n"
            "0\tli\t0.5\t\t12.50\t\t\t\t\t\t\t\t2\t\t1\t\tG\t\t\t\t\t\n"
            "1\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\n"
            "Cnt_total\t1\n"
            "bbox\t-5\t0.25\t1E-20\t2\n");
}

TEST(DumpTables, EmptyDrawingHasOnlyTheTotals) {
  EXPECT_EQ(dump_tables(Drawing{}), "Cnt_total\t0\nbbox\t\t\t\t\n");
}

TEST(DumpTables, LayersComeInOrderWithTheirNumbers) {
  Drawing d;
  d.LY_dat[4] = Table(1, kLastColumn);
  d.LY_dat[0] = Table(1, kLastColumn);
  d.layer(0).at(0, 0) = "pt";
  d.layer(4).at(0, 0) = "ci";
  const std::string out = dump_tables(d);
  EXPECT_LT(out.find("ly0\n0\tpt\t"), out.find("ly4\n0\tci\t"));
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 6);
}

}  // namespace
}  // namespace makenc
