// The index of first rows against the plain scan from the top of the layer
// table, on tables as chaining leaves them and on tables it never leaves.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "core/constants.h"
#include "nc/contour_path.h"
#include "nc/contour_rows.h"

namespace makenc {
namespace {

// The first row whose contour number is the same as id, by a pass from the top.
std::optional<std::size_t> first_row_by_scan(const Table& table, const Cell& id) {
  for (std::size_t row = 0; row + 1 < table.rows(); ++row)
    if (same_number(table.at(row, col::contour), id)) return row;
  return std::nullopt;
}

Table layer_of(const std::vector<Cell>& numbers) {
  Table t(numbers.size(), kLastColumn);
  for (std::size_t r = 0; r < numbers.size(); ++r) t.at(r, col::contour) = numbers[r];
  return t;
}

void expect_same_as_scan(const Table& table, const std::vector<Cell>& ids) {
  const ContourRows rows(table);
  for (const Cell& id : ids)
    EXPECT_EQ(rows.first_row(id), first_row_by_scan(table, id)) << "id " << id.text_form();
}

TEST(ContourRowsDifferential, ChainedLayersOfRandomContourLengths) {
  std::mt19937 rng(11);
  std::uniform_int_distribution<int> length(1, 9);
  for (int trial = 0; trial < 20; ++trial) {
    std::vector<Cell> numbers;
    const int first = 1 + trial * 7;
    int contour = first;
    for (; numbers.size() < 400; ++contour)
      for (int m = length(rng); m > 0; --m) numbers.emplace_back(std::int64_t{contour});
    std::vector<Cell> ids;
    for (int id = first - 2; id <= contour + 2; ++id) ids.emplace_back(id);
    ids.emplace_back(static_cast<double>(first));  // a Double meets an Integer
    ids.emplace_back(std::to_string(first + 1));   // as does a text of the number
    expect_same_as_scan(layer_of(numbers), ids);
  }
}

TEST(ContourRowsDifferential, NumbersSeenTwiceAnswerTheirFirstRow) {
  const Table t = layer_of({Cell(3), Cell(3), Cell(5), Cell(3), Cell(5), Cell(7)});
  const ContourRows rows(t);
  EXPECT_EQ(rows.first_row(Cell(3)), 0u);
  EXPECT_EQ(rows.first_row(Cell(5)), 2u);
  EXPECT_EQ(rows.first_row(Cell(7)), 5u);
  EXPECT_EQ(rows.first_row(Cell(4)), std::nullopt);
}

TEST(ContourRowsDifferential, TextsEmptyCellsAndOddNumbersMeetAsTheScanDecides) {
  const double inf = std::numeric_limits<double>::infinity();
  const Table t = layer_of({Cell(), Cell(""), Cell("a"), Cell(" 4 "), Cell("4x"), Cell(-0.0), Cell(inf),
                            Cell("1.#INF"), Cell(std::nan("")), Cell(2.5F), Cell("0"), Cell(4)});
  expect_same_as_scan(t, {Cell(), Cell(""), Cell("a"), Cell(4), Cell("4"), Cell("4x"), Cell(0), Cell("0"),
                          Cell(inf), Cell("1.#INF"), Cell(std::nan("")), Cell(2.5), Cell("2.5"), Cell(9)});
}

TEST(ContourRowsDifferential, TheSpareRowIsNeverAnswered) {
  Table t = layer_of({Cell(1), Cell(2)});
  t.at(2, col::contour) = Cell(9);  // the spare row, which no loop visits
  EXPECT_EQ(ContourRows(t).first_row(Cell(9)), std::nullopt);
  EXPECT_EQ(ContourRows(Table()).first_row(Cell(1)), std::nullopt);
}

}  // namespace
}  // namespace makenc
