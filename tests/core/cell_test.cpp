// The cell rules every stage reads numbers and texts by.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <random>
#include <string>

#include "core/cell.h"

namespace makenc {
namespace {

TEST(NumericValue, ReadsTheLeadingLiteralAndStopsAtTheFirstMisfit) {
  EXPECT_EQ(numeric_value("12.5abc"), 12.5);
  EXPECT_EQ(numeric_value("  -3.5e2x"), -350);
  EXPECT_EQ(numeric_value("+7"), 7);
  EXPECT_EQ(numeric_value(".5"), 0.5);
  EXPECT_EQ(numeric_value("5."), 5);
  EXPECT_EQ(numeric_value("1.2.3"), 1.2);
  EXPECT_EQ(numeric_value("1D3"), 1000);
  EXPECT_EQ(numeric_value("2E+2"), 200);
  EXPECT_EQ(numeric_value("1e"), 1);  // an exponent without digits is not part of it
  EXPECT_EQ(numeric_value("1e+"), 1);
  EXPECT_EQ(numeric_value("12 34"), 12);
}

TEST(NumericValue, IsZeroWithoutDigits) {
  EXPECT_EQ(numeric_value(""), 0);
  EXPECT_EQ(numeric_value("abc"), 0);
  EXPECT_EQ(numeric_value("-"), 0);
  EXPECT_EQ(numeric_value("."), 0);
  EXPECT_EQ(numeric_value("E5"), 0);
}

TEST(NumericValue, TinyExponentsUnderflowToZeroWhateverTheLetter) {
  EXPECT_EQ(numeric_value("1E-400"), 0);
  EXPECT_EQ(numeric_value("1e-400"), 0);
  EXPECT_EQ(numeric_value("1D-400"), 0);
  EXPECT_TRUE(std::isinf(numeric_value("1E400")));
  EXPECT_LT(numeric_value("-1E400"), 0);
}

// Whether a literal is too small or too large for a double is told by the
// place of its first significant digit, not by the sign of its exponent.
TEST(NumericValue, TooSmallOrTooLargeWithoutAnExponentSign) {
  const std::string zeros(400, '0');
  EXPECT_EQ(numeric_value("0." + zeros + "1"), 0);
  EXPECT_EQ(numeric_value("-0." + zeros + "1"), 0);
  EXPECT_EQ(numeric_value("0." + zeros + "1E5"), 0);
  EXPECT_EQ(numeric_value(zeros + "1E-400"), 0);
  EXPECT_TRUE(std::isinf(numeric_value("1" + zeros)));
  EXPECT_TRUE(std::isinf(numeric_value("0.001" + zeros + "E400")));
  EXPECT_TRUE(std::isinf(numeric_value("1" + zeros + "E-20")));
  double v = 1;
  EXPECT_TRUE(parse_strict_number("0." + zeros + "1", v));
  EXPECT_EQ(v, 0);
  EXPECT_EQ((Cell("0." + zeros + "1") + Cell(2.0)).number(), 2);
}

// The value std::from_chars gives a literal whose exponent letter is read
// as "e" and whose "+" sign is dropped: the conversion every reading must
// agree with to the last bit.
double from_chars_value(std::string lit) {
  for (char& c : lit)
    if (c == 'D' || c == 'd' || c == 'E') c = 'e';
  const std::size_t first = lit[0] == '+' ? 1 : 0;
  double v = 0;
  std::from_chars(lit.data() + first, lit.data() + lit.size(), v);
  return v;
}

bool same_bits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Literals of up to 40 digits with and without a point and an exponent of
// either letter, the kinds the host writes and more: the lenient and the
// strict reading give the bits the full conversion gives, with and without
// text after the literal.
TEST(NumericValue, EveryLiteralReadsAsTheFullConversionReadsIt) {
  std::mt19937 random(20240611);
  auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  auto digits = [&](int n) {
    std::string d;
    for (int i = 0; i < n; ++i) d += static_cast<char>('0' + (pick(4) == 0 ? 0 : pick(10)));
    return d;
  };
  for (int round = 0; round < 100000; ++round) {
    std::string lit = std::string(pick(3) == 0 ? "-" : pick(5) == 0 ? "+" : "");
    const int whole = pick(21), fraction = pick(21);
    lit += digits(whole);
    if (pick(3) != 0 || whole == 0) lit += "." + digits(whole == 0 && fraction == 0 ? 1 : fraction);
    if (pick(3) == 0) {
      lit += "EeDd"[pick(4)];
      lit += std::string(pick(3) == 0 ? "-" : pick(3) == 0 ? "+" : "");
      lit += std::to_string(pick(31));
    }
    const double want = from_chars_value(lit);
    EXPECT_TRUE(same_bits(numeric_value(lit), want)) << lit;
    EXPECT_TRUE(same_bits(numeric_value(lit + " 5"), want)) << lit;
    for (const char* after : {"x", ".", "E", "d+", "\t"})
      EXPECT_TRUE(same_bits(numeric_value(lit + after), want)) << lit << after;
    double strict = 1;
    EXPECT_TRUE(parse_strict_number(lit, strict)) << lit;
    EXPECT_TRUE(same_bits(strict, want)) << lit;
    EXPECT_TRUE(same_bits(Cell(lit).number(), want)) << lit;
  }
}

// The reader tells a coordinate too large for a double from a text that is
// no number at all; neither may be read as a coordinate.
TEST(StrictNumber, TellsTooLargeFromNotANumber) {
  struct Case {
    const char* text;
    bool literal;  // the whole text is a decimal literal
    bool number;   // ... and a finite double
  };
  const Case cases[] = {
      {"12.5", true, true},   {" -0 ", true, true},    {"+.5", true, true},   {"1D3", true, true},
      {"1e400", true, false}, {"-1E999", true, false}, {"nan", false, false}, {"NaN", false, false},
      {"inf", false, false},  {"-inf", false, false},  {"1e", false, false},  {"12.5abc", false, false},
      {"", false, false},     {"-", false, false},     {"1 2", false, false}, {"0x10", false, false},
  };
  for (const Case& c : cases) {
    double v = 0;
    EXPECT_EQ(is_decimal_literal(c.text), c.literal) << c.text;
    EXPECT_EQ(parse_strict_number(c.text, v), c.number) << c.text;
  }
  double v = 1;
  ASSERT_TRUE(parse_strict_number("-0", v));
  EXPECT_EQ(Cell(v).text_form(), "0");
}

TEST(CellNumber, EmptyIsZeroAndNumbersAreThemselves) {
  EXPECT_EQ(Cell().number(), 0);
  EXPECT_EQ(Cell(2.5).number(), 2.5);
  EXPECT_EQ(Cell(2.5f).number(), 2.5);
  EXPECT_EQ(Cell(std::int64_t{-4}).number(), -4);
  EXPECT_EQ(Cell("3 apples").number(), 3);
}

TEST(TextForm, DoublesHaveAtMostFifteenSignificantDigits) {
  EXPECT_EQ(Cell(0.0).text_form(), "0");
  EXPECT_EQ(Cell(-0.0).text_form(), "0");
  EXPECT_EQ(Cell(0.5).text_form(), "0.5");
  EXPECT_EQ(Cell(-0.5).text_form(), "-0.5");
  EXPECT_EQ(Cell(100.0).text_form(), "100");
  EXPECT_EQ(Cell(1.0 / 3).text_form(), "0.333333333333333");
  EXPECT_EQ(Cell(2.0 / 3).text_form(), "0.666666666666667");
  EXPECT_EQ(Cell(123456789012345.0).text_form(), "123456789012345");
  EXPECT_EQ(Cell(2 + 3.3e-15).text_form(), "2");
  EXPECT_EQ(Cell(0.1 + 0.2).text_form(), "0.3");
}

TEST(TextForm, SmallAndLargeMagnitudesUseTheExponentForm) {
  EXPECT_EQ(Cell(1e-20).text_form(), "1E-20");
  EXPECT_EQ(Cell(0.0001).text_form(), "0.0001");
  EXPECT_EQ(Cell(0.00001).text_form(), "1E-05");
  EXPECT_EQ(Cell(-1.5e-7).text_form(), "-1.5E-07");
  EXPECT_EQ(Cell(1e15).text_form(), "1E+15");
  EXPECT_EQ(Cell(999999999999999.0).text_form(), "999999999999999");
}

TEST(TextForm, SinglesHaveAtMostSevenSignificantDigits) {
  EXPECT_EQ(Cell(0.1f).text_form(), "0.1");
  EXPECT_EQ(Cell(1.0f / 3).text_form(), "0.3333333");
  EXPECT_EQ(Cell(2.0f).text_form(), "2");
  EXPECT_EQ(Cell(1e7f).text_form(), "1E+07");
  EXPECT_EQ(Cell(1234567.0f).text_form(), "1234567");
}

TEST(TextForm, TextIsItsBytesAndEmptyIsNothing) {
  EXPECT_EQ(Cell().text_form(), "");
  EXPECT_EQ(Cell("2.50").text_form(), "2.50");
  EXPECT_EQ(Cell("\x83\x65\x83\x58\x83\x67").text_form(), "\x83\x65\x83\x58\x83\x67");
  EXPECT_EQ(Cell(std::int64_t{42}).text_form(), "42");
}

TEST(Comparison, WithATextLiteralComparesTheTextForm) {
  EXPECT_TRUE(Cell(0.0) == "0");
  EXPECT_FALSE(Cell(1e-15) == "0");
  EXPECT_TRUE(Cell("li") == "li");
  EXPECT_FALSE(Cell("LI") == "li");
  EXPECT_TRUE(Cell() == "");
  EXPECT_FALSE(Cell("0.0") == "0");
}

TEST(Comparison, WithANumberLiteralIsNumeric) {
  EXPECT_TRUE(equals_number(Cell(), 0));
  EXPECT_TRUE(equals_number(Cell("1.50"), 1.5));
  EXPECT_FALSE(equals_number(Cell(1.5f), 1.4));
}

TEST(Comparison, BetweenCells) {
  EXPECT_LT(compare(Cell(2.0), Cell(10.0)), 0);
  EXPECT_LT(compare(Cell("10"), Cell("9")), 0);  // two texts compare as texts
  EXPECT_LT(compare(Cell(1e9), Cell("1")), 0);   // a number is below any text
  EXPECT_GT(compare(Cell("1"), Cell(1e9)), 0);
  EXPECT_NE(compare(Cell(3.0), Cell("3")), 0);
  EXPECT_EQ(compare(Cell(), Cell(0.0)), 0);
  EXPECT_LT(compare(Cell(), Cell(0.5)), 0);
  EXPECT_EQ(compare(Cell(), Cell("")), 0);
  EXPECT_LT(compare(Cell(), Cell("a")), 0);
  EXPECT_EQ(compare(Cell(std::int64_t{2}), Cell(2.0f)), 0);
}

TEST(IsEmpty, OnlyTheEmptyTag) {
  EXPECT_TRUE(Cell().is_empty());
  EXPECT_FALSE(Cell("").is_empty());
  EXPECT_TRUE(Cell("").is_blank());
  EXPECT_TRUE(Cell().is_blank());
  EXPECT_FALSE(Cell(0.0).is_blank());
  EXPECT_FALSE(Cell(" ").is_blank());
}

TEST(Arithmetic, ConvertsTextStrictly) {
  EXPECT_EQ((Cell("12.5") + Cell(1.0)).number(), 13.5);
  EXPECT_EQ((Cell(" 3 ") * Cell("1E3")).number(), 3000);
  EXPECT_EQ((Cell() - Cell(2.0)).number(), -2);
  EXPECT_EQ((Cell("1D2") / Cell(4.0)).number(), 25);
  EXPECT_THROW(Cell("12.5abc") + Cell(1.0), CellArithmeticError);
  EXPECT_THROW(Cell("") + Cell(1.0), CellArithmeticError);
  EXPECT_THROW(Cell(1.0) - Cell("x"), CellArithmeticError);
  EXPECT_THROW(Cell("1e999") * Cell(1.0), CellArithmeticError);
}

TEST(Arithmetic, ResultIsADouble) {
  const Cell sum = Cell(1.5f) + Cell(std::int64_t{2});
  EXPECT_EQ(sum.tag(), Cell::Tag::Double);
  EXPECT_EQ((Cell("2") - Cell("2")).text_form(), "0");
}

TEST(Arithmetic, ErrorNamesTheText) {
  try {
    (void)(Cell("7mm") + Cell(1.0));
    FAIL() << "no error";
  } catch (const CellArithmeticError& e) {
    EXPECT_EQ(e.text(), "7mm");
  }
}

TEST(ValMinMax, ReturnTheWinningCellUnchanged) {
  const Cell three_text("3");
  const Cell three(3.0);
  EXPECT_EQ(&val_min(three_text, three), &three);  // equal values: the second
  EXPECT_EQ(&val_max(three_text, three), &three);
  const Cell two_and_a_half(2.5);
  const Cell text("2.50");
  EXPECT_EQ(&val_max(two_and_a_half, text), &text);
  const Cell ten("10");
  const Cell five(5.0);
  EXPECT_EQ(&val_max(ten, five), &ten);
  EXPECT_TRUE(val_max(ten, five).is_text());
  EXPECT_EQ(&val_min(ten, five), &five);
  const Cell empty;
  const Cell minus("-1");
  EXPECT_EQ(&val_min(empty, minus), &minus);
  EXPECT_EQ(&val_max(empty, minus), &empty);
}

TEST(PtDist, IsTheStraightDistance) {
  EXPECT_EQ(pt_dist(0, 0, 3, 4), 5);
  EXPECT_EQ(pt_dist(1, 1, 1, 1), 0);
  EXPECT_EQ(pt_dist(-1, 0, 2, 4), 5);
}

}  // namespace
}  // namespace makenc
