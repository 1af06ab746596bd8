// Text cells hold short texts in place and longer ones on the heap; both
// must behave as plain byte strings through copies, moves and reassignment.
#include "core/cell_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "core/cell.h"
#include "core/table.h"

namespace makenc {
namespace {

const std::vector<std::string> kTexts{"",
                                      "G",
                                      "li",
                                      std::string("a\0b", 3),
                                      std::string(15, 'x'),  // the longest held in place
                                      std::string(16, 'y'),  // the shortest on the heap
                                      "\x95\x5c\x8e\xa6",    // code page 932 bytes, one of them "\"
                                      std::string(1000, 'z')};

TEST(CellText, KeepsEveryTextByteForByte) {
  for (const std::string& s : kTexts) {
    const CellText t(s);
    EXPECT_EQ(t.view(), s) << s.size() << " bytes";
    EXPECT_EQ(Cell(s).text(), s);
    EXPECT_EQ(Cell(s).text_form(), s);
  }
}

TEST(CellText, CopiesAndMovesBetweenShortAndLongTexts) {
  for (const std::string& a : kTexts) {
    for (const std::string& b : kTexts) {
      CellText x(a);
      const CellText y(b);
      x = y;
      EXPECT_EQ(x.view(), b);
      EXPECT_EQ(y.view(), b);
      CellText z(a);
      z = std::move(x);
      EXPECT_EQ(z.view(), b);
      CellText w(std::move(z));
      EXPECT_EQ(w.view(), b);
      const CellText& same = w;
      w = same;  // to itself
      EXPECT_EQ(w.view(), b);
    }
  }
}

TEST(CellText, CellsOfTextStayTextsInTablesThatGrowAndShrink) {
  std::vector<Cell> cells;
  for (int round = 0; round < 50; ++round)
    for (const std::string& s : kTexts) cells.emplace_back(s);
  cells.erase(cells.begin(), cells.begin() + 7);
  for (std::size_t i = 0; i < cells.size(); ++i) {
    const std::string& want = kTexts[(i + 7) % kTexts.size()];
    ASSERT_TRUE(cells[i].is_text());
    EXPECT_EQ(cells[i].text(), want);
    EXPECT_EQ(cells[i].is_blank(), want.empty());
  }
  EXPECT_EQ(sizeof(Cell), 16u);
}

// Cells of every kind, texts in place and on the heap among them.
std::vector<Cell> cells_of_every_kind() {
  return {Cell(),
          Cell(""),
          Cell("li"),
          Cell(std::string(15, 'x')),
          Cell(std::string(16, 'y')),
          Cell(std::string(300, 'z')),
          Cell(2.5),
          Cell(-0.0),
          Cell(1.5F),
          Cell(7),
          Cell(std::int64_t{-3}),
          Cell(std::string_view("\x95\x5c", 2))};
}

// What a cell shows of itself: its kind and its text form.
std::string shown(const Cell& c) { return std::to_string(static_cast<int>(c.tag())) + ":" + c.text_form(); }

// Copies, moves and exchanges keep every kind and text; a moved-from text
// on the heap is left as the empty text, any other cell as it was.
TEST(CellText, CopiesMovesAndExchangesKeepEveryKind) {
  const std::vector<Cell> cells = cells_of_every_kind();
  for (const Cell& a : cells) {
    for (const Cell& b : cells) {
      Cell x(a);
      x = b;
      EXPECT_EQ(shown(x), shown(b));
      Cell y(a), z(b);
      swap(y, z);
      EXPECT_EQ(shown(y), shown(b));
      EXPECT_EQ(shown(z), shown(a));
      Cell from(b);
      Cell to(a);
      to = std::move(from);
      EXPECT_EQ(shown(to), shown(b));
      const bool heap = b.is_text() && b.text().size() > 15;
      EXPECT_EQ(shown(from), heap ? shown(Cell("")) : shown(b));
      EXPECT_EQ(a == "li", shown(a) == shown(Cell("li")));
    }
  }
  EXPECT_TRUE(Cell().is_empty() && !Cell().is_text() && Cell().is_blank());
  EXPECT_TRUE(Cell("").is_text() && Cell("").is_blank() && !Cell("").is_empty());
  EXPECT_TRUE(Cell(std::int64_t{4}).is_number() && !Cell("4").is_number());
}

// Emptying rows leaves the other rows as they were, whatever the cells held.
TEST(CellText, ClearedRowsAreEmptyAndTheOthersKeepTheirCells) {
  const std::vector<Cell> cells = cells_of_every_kind();
  const std::size_t n = cells.size();
  Table t(3, n - 1);
  for (std::size_t i = 0; i < 4 * n; ++i) t.at(i / n, i % n) = cells[(i / n + i) % n];
  t.clear_rows(1, 3);
  for (std::size_t i = 0; i < 4 * n; ++i)
    EXPECT_EQ(shown(t.at(i / n, i % n)),
              i / n == 1 || i / n == 2 ? shown(Cell()) : shown(cells[(i / n + i) % n]))
        << "cell " << i;
}

// The comparison with "0" does not format the number; it must still say
// what the text form says.
TEST(CellText, ZeroLiteralAgreesWithTheTextForm) {
  const double inf = std::numeric_limits<double>::infinity();
  const std::vector<Cell> cells{Cell(0.0),    Cell(-0.0),     Cell(std::nan("")),
                                Cell(inf),    Cell(-inf),     Cell(1e-300),
                                Cell(5e-324), Cell(-4.9e-15), Cell(0.0F),
                                Cell(-0.0F),  Cell(1e-40F),   Cell(std::nanf("")),
                                Cell(0),      Cell(1),        Cell(std::int64_t{-0}),
                                Cell("0"),    Cell("0.0"),    Cell(""),
                                Cell()};
  for (const Cell& c : cells) EXPECT_EQ(c == "0", c.text_form() == "0") << c.text_form();
}

}  // namespace
}  // namespace makenc
