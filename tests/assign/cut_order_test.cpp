#include "assign/cut_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "assign/dump_cutlist.h"
#include "assign/test_records.h"

namespace makenc {
namespace {

using test::at;
using test::make_apr_dat;
using test::put;
using test::Record;

// Contour numbers of the cut list, in cutting order.
std::vector<int> cut_order(const Assignment& a) {
  std::vector<int> out;
  for (std::size_t r = 0; r + 1 < a.Ord_dat.rows(); ++r)
    out.push_back(static_cast<int>(a.Ord_dat.at(r, rec::contour).number()));
  return out;
}

Assignment planned(Table Apr_dat) {
  Assignment a;
  a.Apr_dat = std::move(Apr_dat);
  plan_cut_order(a);
  return a;
}

TEST(CutOrder, NoContourLeavesAnEmptyListWithItsSpareRow) {
  const Assignment a = planned(make_apr_dat(0));
  EXPECT_EQ(a.Ord_dat.rows(), 1u);
  EXPECT_EQ(a.Ord_dat.cols(), static_cast<std::size_t>(rec::last) + 1);
  EXPECT_TRUE(a.Ord_dat.at(0, 0).is_empty());
  EXPECT_FALSE(a.last_is_outline);
  EXPECT_EQ(dump_cutlist(a), "");
}

TEST(CutOrder, NoContourInAnUntouchedAssignment) {
  Assignment a;  // no run yet: Apr_dat has no rows at all
  plan_cut_order(a);
  EXPECT_EQ(a.Ord_dat.rows(), 1u);
  EXPECT_EQ(dump_cutlist(a), "");
}

TEST(CutOrder, FiveInARowThenTheOutline) {
  Table apr = make_apr_dat(6);
  put(apr, 0, at(1, 50, 0));
  put(apr, 1, at(2, 10, 0));
  put(apr, 2, at(3, 40, 0));
  put(apr, 3, at(4, 20, 0));
  put(apr, 4, at(5, 30, 0));
  Record outline = at(6, 5, -5);
  outline.outline = true;
  put(apr, 5, outline);
  const Assignment a = planned(apr);
  EXPECT_EQ(cut_order(a), (std::vector<int>{2, 4, 5, 3, 1, 6}));
  EXPECT_TRUE(a.last_is_outline);
  // Column 9 carries the distance from the origin, not the outline mark.
  EXPECT_EQ(a.Ord_dat.at(0, 9).text_form(), "10");
  EXPECT_EQ(a.Ord_dat.at(5, 9).text_form(), Cell(pt_dist(0, 0, 5, -5)).text_form());
  EXPECT_EQ(a.Ord_dat.cols(), static_cast<std::size_t>(rec::last) + 1);
  EXPECT_EQ(a.Ord_dat.at(0, rec::apr_x).text_form(), "10");
}

Record outline_at(int contour, double x, double y) {
  Record r = at(contour, x, y);
  r.outline = true;
  return r;
}

// Four open lines run from y = 0 up to y = 100 (contours 1 to 4); the fifth
// row takes the fourth's place. After a round of four the tool stands at the
// far end of an open contour, where the contour near it is the next, or at
// the approach point of a closed one.
std::vector<std::pair<std::size_t, Record>> four_then_two(const std::string& kind_of_fourth) {
  std::vector<std::pair<std::size_t, Record>> rows;
  for (int i = 0; i < 4; ++i) {
    const double x = 10.0 * (i + 1);
    rows.push_back(
        {static_cast<std::size_t>(i), Record{i + 1, x, 0, x, 100, i == 3 ? kind_of_fourth : "line"}});
  }
  rows.push_back({4, at(5, 45, 0)});
  rows.push_back({5, at(6, 40, 90)});
  rows.push_back({6, at(7, 200, 200)});
  return rows;
}

struct OrderCase {
  const char* name;
  std::size_t Cnt_total;
  std::vector<std::pair<std::size_t, Record>> rows;  // row of Apr_dat, record
  std::vector<int> order;
  bool last_is_outline = false;
};

TEST(CutOrder, OrdersByNearestRoundsOfFourAndHoldsTheLastRecordBack) {
  const OrderCase cases[] = {
      {"one contour is held back and ends as the only row", 3, {{1, at(2, 7, 8)}}, {2}},
      {"a held-back record that is not the outline", 3, {{0, at(1, 10, 0)}, {1, at(2, 1, 0)}}, {1, 2}},
      {"equal distances keep row order",
       3,
       {{0, at(7, 10, 0)}, {1, at(3, 0, 10)}, {2, at(9, 50, 50)}},
       {7, 3, 9}},
      {"equal distances the other way round",
       3,
       {{0, at(3, 0, 10)}, {1, at(7, 10, 0)}, {2, at(9, 50, 50)}},
       {3, 7, 9}},
      // Distances 2.83, 3, 3.61, 5: the orders 2 3 1 4 and 2 1 3 4 are both
      // shortest, and 2 3 1 4 is tried first.
      {"among equal tours of four the one tried first wins",
       5,
       {{0, at(11, 3, 4)}, {1, at(12, 3, 2)}, {2, at(13, 2, 2)}, {3, at(14, 3, 0)}, {4, at(15, 90, 90)}},
       {14, 12, 13, 11, 15}},
      // Slots (3, 2), (0, 4), (4, 4): 2 1 3 and 1 3 2 tie, 2 1 3 is tried first.
      {"among equal tours of three the one tried first wins",
       4,
       {{0, at(21, 4, 4)}, {1, at(22, 0, 4)}, {2, at(23, 3, 2)}, {3, at(24, 90, 90)}},
       {22, 23, 21, 24}},
      // 10 + 15.6 beats 12 + 15.6: no swap when not strictly shorter.
      {"two candidates swap only when strictly shorter",
       3,
       {{0, at(1, 0, 10)}, {1, at(2, 12, 0)}, {2, at(3, 90, 90)}},
       {1, 2, 3}},
      {"an open contour fourth in a round moves the tool to its far end",
       7,
       four_then_two("line"),
       {1, 2, 3, 4, 6, 5, 7}},
      {"a closed contour fourth in a round moves the tool to its approach",
       7,
       four_then_two("loop"),
       {1, 2, 3, 4, 5, 6, 7}},
      // Distance 0 reads as an empty slot: the nearer ones push it out of a
      // full round.
      {"distance zero is displaced from the nearest four",
       6,
       {{0, at(1, 0, 0)},
        {1, at(2, 10, 0)},
        {2, at(3, 20, 0)},
        {3, at(4, 30, 0)},
        {4, at(5, 40, 0)},
        {5, at(6, 99, 99)}},
       {2, 3, 4, 5, 1, 6}},
      {"gaps in the record table are compacted",
       8,
       {{2, at(4, 30, 0)}, {5, at(1, 10, 0)}, {7, outline_at(8, 0, -5)}},
       {1, 4, 8},
       true},
  };
  for (const OrderCase& c : cases) {
    SCOPED_TRACE(c.name);
    Table apr = make_apr_dat(c.Cnt_total);
    for (const auto& [row, record] : c.rows) put(apr, row, record);
    const Assignment a = planned(apr);
    EXPECT_EQ(a.Ord_dat.rows(), c.order.size() + 1);
    EXPECT_EQ(cut_order(a), c.order);
    EXPECT_EQ(a.last_is_outline, c.last_is_outline);
  }
}

TEST(CutOrder, EveryContourAppearsOnceWithTheHeldBackLast) {
  std::mt19937 rng(42);
  std::uniform_real_distribution<double> coord(0, 500);
  const std::size_t count = 300;
  Table apr = make_apr_dat(count);
  std::vector<int> numbers(count);
  for (std::size_t i = 0; i < count; ++i) numbers[i] = static_cast<int>(i + 1);
  std::shuffle(numbers.begin(), numbers.end(), rng);
  for (std::size_t i = 0; i < count; ++i) {
    Record r = at(numbers[i], coord(rng), coord(rng));
    if (i % 3 == 0) {
      r.kind = "line";
      r.hx = coord(rng);
    }
    put(apr, i, r);
  }
  const Assignment a = planned(apr);
  std::vector<int> order = cut_order(a);
  ASSERT_EQ(order.size(), count);
  EXPECT_EQ(order.back(), numbers.back());
  std::sort(order.begin(), order.end());
  for (std::size_t i = 0; i < count; ++i) EXPECT_EQ(order[i], static_cast<int>(i + 1));
}

// Sheets of parts placed at random, each part's holes around it, some parts
// standing in a frame's hole, and the plate's outline around everything:
// whatever lies inside a closed cut contour is cut before it, every record
// once, and an order that already keeps the rule is the order of the
// rounds unchanged. Odd seeds nest rarely, so that the rounds often keep
// the rule to the end, or break it only late.
TEST(CutOrder, WhatLiesInsideIsCutFirst) {
  std::size_t kept_orders = 0;
  for (unsigned seed = 1; seed <= 40; ++seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> coord(0, 1000);
    const std::size_t count = 5 + seed * 3;
    Table apr = make_apr_dat(count);
    // parent[k]: the record whose contour lies directly around k; the last
    // record (held back) is the outline around all.
    std::vector<std::size_t> parent(count, count - 1);
    for (std::size_t k = 0; k + 1 < count; ++k) {
      if (k > 0 && (seed % 2 == 0 ? rng() % 3 != 0 : rng() % 25 == 0)) parent[k] = rng() % k;
      Record r = at(static_cast<int>(k + 1), coord(rng), coord(rng));
      put(apr, k, r);
    }
    put(apr, count - 1, Record{static_cast<int>(count), 0, -5, 0, 0, "loop", "cut", true});
    Enclosures e;
    for (std::size_t k = 0; k < count; ++k) {
      e.first_.push_back(e.around_.size());
      for (std::size_t p = parent[k]; k + 1 < count; p = parent[p]) {
        e.around_.push_back(p);
        if (p == count - 1) break;
      }
    }
    e.first_.push_back(e.around_.size());
    Assignment a;
    a.Apr_dat = apr;
    plan_cut_order(a, &e);
    const std::vector<int> order = cut_order(a);
    ASSERT_EQ(order.size(), count) << seed;
    std::vector<std::size_t> place(count);
    for (std::size_t p = 0; p < count; ++p) place[static_cast<std::size_t>(order[p] - 1)] = p;
    for (std::size_t k = 0; k < count; ++k)
      for (const std::size_t c : e.around(k))
        EXPECT_LT(place[k], place[c]) << "seed " << seed << " record " << k;
    EXPECT_TRUE(a.last_is_outline);
    const Assignment plain = planned(apr);
    bool kept = true;
    std::vector<std::size_t> plain_place(count);
    const std::vector<int> plain_order = cut_order(plain);
    for (std::size_t p = 0; p < count; ++p) plain_place[static_cast<std::size_t>(plain_order[p] - 1)] = p;
    for (std::size_t k = 0; k < count; ++k)
      for (const std::size_t c : e.around(k)) kept = kept && plain_place[k] < plain_place[c];
    if (kept) {
      EXPECT_EQ(order, plain_order) << seed;
      ++kept_orders;
    }
  }
  EXPECT_GE(kept_orders, 5u);
  EXPECT_LE(kept_orders, 35u);
}

TEST(CutOrder, DuplicateContourNumbersStayInsideTheTables) {
  Table apr = make_apr_dat(6);
  for (std::size_t i = 0; i < 6; ++i) put(apr, i, at(3, 10.0 * static_cast<double>(i), 0));
  const Assignment a = planned(apr);
  EXPECT_EQ(a.Ord_dat.rows(), 7u);
  EXPECT_EQ(a.Ord_dat.at(5, rec::apr_x).text_form(), "50");
}

TEST(TourLength, RunsFromTheToolThroughTheGivenApproachPoints) {
  Table apr = make_apr_dat(4);
  put(apr, 0, at(5, 3, 4));
  put(apr, 1, at(6, 3, 0));
  put(apr, 2, Record{7, 0, 0, 50, 50});
  CutPlan plan;
  index_approach_points(plan, apr);
  EXPECT_DOUBLE_EQ(tour_length(plan, 5, 6, 0, 0), 5 + 4);
  EXPECT_DOUBLE_EQ(tour_length(plan, 5, 6, 7, 0), 5 + 4 + 3);
  EXPECT_DOUBLE_EQ(tour_length(plan, 6, 7, 5, 0), 3 + 3 + 5);
  plan.Pos_x = 3;
  plan.Pos_y = 4;
  EXPECT_DOUBLE_EQ(tour_length(plan, 5, 6, 7, 5), 0 + 4 + 3 + 5);
}

// The legs measured the plain way: each approach point found by a pass
// over the record table.
double tour_by_linear_pass(const Table& apr, double x, double y, const std::vector<int>& ids) {
  double len = 0;
  for (const int id : ids) {
    for (std::size_t k = 0; k < apr.rows(); ++k) {
      if (apr.at(k, rec::contour).number() != id || apr.at(k, 0).is_empty()) continue;
      const double nx = apr.at(k, rec::apr_x).number(), ny = apr.at(k, rec::apr_y).number();
      len += pt_dist(x, y, nx, ny);
      x = nx;
      y = ny;
    }
  }
  return len;
}

TEST(TourLength, IndexedLookUpMatchesAPassOverTheRecords) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> coord(-50, 500);
  const int count = 40;
  Table apr = make_apr_dat(count);
  for (int i = 0; i < count; ++i)
    put(apr, static_cast<std::size_t>(i), at(count - i, coord(rng), coord(rng)));
  CutPlan plan;
  index_approach_points(plan, apr);
  plan.Pos_x = 12.5;
  plan.Pos_y = -3;
  std::uniform_int_distribution<int> pick(1, count);
  for (int trial = 0; trial < 200; ++trial) {
    const std::vector<int> ids{pick(rng), pick(rng), pick(rng), pick(rng)};
    EXPECT_EQ(tour_length(plan, ids[0], ids[1], ids[2], ids[3]), tour_by_linear_pass(apr, 12.5, -3, ids));
  }
}

TEST(TourLength, AnUnknownContourNumberReadsAsTheOrigin) {
  Table apr = make_apr_dat(2);
  put(apr, 0, at(1, 6, 8));
  CutPlan plan;
  index_approach_points(plan, apr);
  EXPECT_DOUBLE_EQ(tour_length(plan, 1, 99, 0, 0), 10 + 10);
}

}  // namespace
}  // namespace makenc
