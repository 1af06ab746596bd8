#include "assign/dump_cutlist.h"

#include <gtest/gtest.h>

#include "assign/cut_order.h"
#include "assign/test_records.h"

namespace makenc {
namespace {

TEST(DumpCutlist, OneTabSeparatedLinePerRecordInCuttingOrder) {
  Assignment a;
  a.Apr_dat = test::make_apr_dat(3);
  test::put(a.Apr_dat, 0, test::Record{2, 30, 25, 30, 20, "circle"});
  test::Record outline{1, 50.5, 65, 50, 60, "loop"};
  outline.outline = true;
  test::put(a.Apr_dat, 2, outline);
  a.Apr_dat.at(2, rec::element) = Cell(3);
  plan_cut_order(a);
  EXPECT_EQ(dump_cutlist(a), "0\tly0\t2\t1\t30\t25\t30\t20\tcut\tcircle\t" +
                                 Cell(pt_dist(0, 0, 30, 25)).text_form() +
                                 "\t\n"
                                 "1\tly0\t1\t3\t50.5\t65\t50\t60\tcut\tloop\t" +
                                 Cell(pt_dist(0, 0, 50.5, 65)).text_form() + "\t\n");
}

}  // namespace
}  // namespace makenc
