// The text of a single-precision machine word is made without a string of
// its own; it must be the general plain decimal text, digit for digit.
#include "core/number_text.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace makenc {
namespace {

std::string appended(float v) {
  std::string out = "X";
  append_single_plain_text(out, v);
  return out.substr(1);
}

void expect_as_general(float v) {
  ASSERT_EQ(appended(v), plain_decimal_text(static_cast<double>(v), 7)) << std::hexfloat << v;
}

TEST(SinglePlainText, RoundsHalfToEvenAndCarriesIntoANewDigit) {
  // Halves to the even digit, a carry into an eighth digit, both zeros.
  const std::vector<std::pair<float, std::string>> cases = {
      {1234567.5f, "1234568"},    {1234568.5f, "1234568"}, {123456.25f, "123456.2"},
      {-9999999.5f, "-10000000"}, {1e-6f, "0.000001"},     {-0.0f, "0"},
      {123456789.0f, "123456800"}};
  for (const auto& [v, text] : cases) {
    EXPECT_EQ(appended(v), text) << v;
    expect_as_general(v);
  }
}

TEST(SinglePlainText, IsTheGeneralTextForEverySingle) {
  const float special[] = {std::numeric_limits<float>::min(),
                           std::numeric_limits<float>::denorm_min(),
                           std::numeric_limits<float>::max(),
                           std::numeric_limits<float>::infinity(),
                           std::numeric_limits<float>::quiet_NaN(),
                           std::nextafter(1e-6f, 0.0f),
                           std::nextafter(1e7f, 0.0f)};
  for (const float v : special) {
    expect_as_general(v);
    expect_as_general(-v);
  }
  std::mt19937 random(20261208);
  // Any bit pattern: every exponent, subnormals and the values past 1E7.
  for (int n = 0; n < 200000; ++n)
    expect_as_general(std::bit_cast<float>(static_cast<std::uint32_t>(random())));
  // Few binary places: many of them lie half way between two texts.
  std::uniform_int_distribution<std::int32_t> mantissa(-(1 << 24), 1 << 24);
  std::uniform_int_distribution<int> places(0, 30);
  for (int n = 0; n < 200000; ++n)
    expect_as_general(std::ldexp(static_cast<float>(mantissa(random)), -places(random)));
  // Coordinates on the grids of the settings, as NC generation rounds them.
  for (const double S : {1.0, 10.0, 100.0, 1000.0, 10000.0})
    for (std::int64_t i = -200000; i <= 200000; i += 7)
      expect_as_general(static_cast<float>(static_cast<double>(i * 37) / S));
}

}  // namespace
}  // namespace makenc
