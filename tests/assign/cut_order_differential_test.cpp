// The planning against the plain version of it on random record tables
// built to hit its tie rules: equal distances, records at distance 0 from the
// tool (at the origin, on the same approach point, at the far end of an open
// contour), contour numbers seen twice and gaps in the record table.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "assign/cut_order.h"
#include "assign/test_records.h"
#include "support/reference_cut_order.h"
#include "support/table_text.h"

namespace makenc {
namespace {

using test::make_apr_dat;
using test::put;
using test::Record;

using test::dump_all;

struct Mix {
  std::size_t records;
  int spread;          // approach points on an integer grid of this size
  double step;         // grid step: small steps give many equal distances
  int same_place;      // percent of records on an earlier record's approach point
  int at_origin;       // percent of records at the origin
  int lines;           // percent of open contours
  int far_end_shared;  // percent of lines ending on another record's approach point
  int duplicates;      // percent of records with an earlier record's number
  int gaps;            // percent of empty rows in the record table
};

void PrintTo(const Mix& m, std::ostream* os) {
  *os << m.records << " records on a grid of " << m.spread << " steps of " << m.step;
}

Table random_records(std::mt19937& rng, const Mix& m) {
  std::uniform_int_distribution<int> pct(0, 99);
  std::uniform_int_distribution<int> grid(-m.spread / 4, m.spread);
  std::vector<int> numbers(m.records);
  for (std::size_t i = 0; i < m.records; ++i) numbers[i] = static_cast<int>(i + 1);
  std::shuffle(numbers.begin(), numbers.end(), rng);
  std::vector<Record> recs;
  for (std::size_t i = 0; i < m.records; ++i) {
    Record r = test::at(numbers[i], m.step * grid(rng), m.step * grid(rng));
    if (!recs.empty() && pct(rng) < m.same_place) {
      const Record& o = recs[rng() % recs.size()];
      r.ax = o.ax, r.ay = o.ay;
    }
    if (pct(rng) < m.at_origin) r.ax = r.ay = 0;
    r.hx = r.ax, r.hy = r.ay;
    if (pct(rng) < m.lines) {
      r.kind = "line";
      r.hx = m.step * grid(rng), r.hy = m.step * grid(rng);
      if (!recs.empty() && pct(rng) < m.far_end_shared) {
        const Record& o = recs[rng() % recs.size()];
        r.hx = o.ax, r.hy = o.ay;
      }
    }
    if (!recs.empty() && pct(rng) < m.duplicates) r.contour = recs[rng() % recs.size()].contour;
    recs.push_back(r);
  }
  recs.back().outline = true;
  std::vector<std::size_t> rows;
  std::size_t row = 0;
  for (std::size_t i = 0; i < recs.size(); ++i) {
    while (pct(rng) < m.gaps) ++row;
    rows.push_back(row++);
  }
  Table apr = make_apr_dat(row);
  for (std::size_t i = 0; i < recs.size(); ++i) put(apr, rows[i], recs[i]);
  return apr;
}

void expect_same_plan(const Table& apr, const std::string& what) {
  Assignment a;
  a.Apr_dat = apr;
  plan_cut_order(a);
  const Table want = test::ReferenceCutOrder(apr).plan();
  ASSERT_EQ(dump_all(a.Ord_dat), dump_all(want)) << what;
}

class CutOrderDifferential : public ::testing::TestWithParam<Mix> {};

TEST_P(CutOrderDifferential, MatchesThePlainPlanning) {
  const Mix m = GetParam();
  std::mt19937 rng(static_cast<unsigned>(m.records * 31 + static_cast<std::size_t>(m.spread)));
  for (int trial = 0; trial < 6; ++trial) {
    const Table apr = random_records(rng, m);
    expect_same_plan(apr, "trial " + std::to_string(trial));
  }
}

INSTANTIATE_TEST_SUITE_P(Mixes, CutOrderDifferential,
                         ::testing::Values(
                             // Scattered, nearly every distance different.
                             Mix{400, 100000, 0.001, 0, 0, 20, 0, 0, 0},
                             // A coarse grid: many equal distances, many shared places.
                             Mix{300, 12, 1, 10, 0, 20, 0, 0, 10}, Mix{500, 30, 2.5, 20, 3, 30, 30, 0, 0},
                             // Records at the origin and on shared places: distance 0 in many rounds.
                             Mix{200, 6, 1, 40, 15, 40, 50, 0, 5},
                             // Contour numbers seen twice.
                             Mix{150, 20, 1, 10, 2, 30, 20, 15, 0},
                             // Few records: rounds of one, two and three.
                             Mix{1, 5, 1, 0, 50, 50, 0, 0, 0}, Mix{2, 5, 1, 0, 0, 50, 0, 0, 30},
                             Mix{3, 5, 1, 30, 30, 50, 50, 0, 0}, Mix{5, 5, 1, 30, 30, 50, 50, 30, 0},
                             // Large enough for the grid to be rebuilt as it empties.
                             Mix{1200, 800, 0.5, 2, 0, 25, 10, 0, 2}));

TEST(CutOrderDifferential, NoRecordsAndOnlyGaps) {
  expect_same_plan(make_apr_dat(0), "no rows");
  expect_same_plan(make_apr_dat(5), "only gaps");
}

TEST(CutOrderDifferential, ContourNumbersThatAreTexts) {
  Table apr = make_apr_dat(7);
  for (std::size_t i = 0; i < 7; ++i)
    put(apr, i, test::at(static_cast<int>(i + 1), 3.0 * static_cast<double>(i % 3), 1));
  apr.at(1, rec::contour) = "2";
  apr.at(4, rec::contour) = "x";
  apr.at(5, rec::contour) = "x";
  expect_same_plan(apr, "texts");
}

TEST(CutOrderDifferential, CoordinatesTooFarOutForTheGrid) {
  Table apr = make_apr_dat(6);
  for (std::size_t i = 0; i < 6; ++i)
    put(apr, i, test::at(static_cast<int>(i + 1), static_cast<double>(i) * 1e13, 5));
  expect_same_plan(apr, "far out");
  put(apr, 2, Record{3, 7, 7, 1e300, -1e300, "line"});  // the tool is sent far out
  expect_same_plan(apr, "tool far out");
}

}  // namespace
}  // namespace makenc
