#include "core/number_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace makenc {
namespace {

struct Decimal {
  bool negative = false;
  std::string digits;  // significant digits, no trailing zeros, never empty
  int exponent = 0;    // value = 0.d1d2d3... * 10^(exponent + 1)
};

// Rounds v to `digits` significant digits, as the decimal digits of the
// correctly rounded shortest representation of that precision.
Decimal to_decimal(double v, int digits) {
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, digits - 1);
  std::string_view s(buf, static_cast<std::size_t>(res.ptr - buf));
  Decimal d;
  if (!s.empty() && s.front() == '-') {
    d.negative = true;
    s.remove_prefix(1);
  }
  auto e = s.find('e');
  for (char c : s.substr(0, e))
    if (c != '.') d.digits += c;
  std::from_chars(s.data() + e + 1 + (s[e + 1] == '+' ? 1 : 0), s.data() + s.size(), d.exponent);
  while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
  return d;
}

std::string fixed_form(const Decimal& d) {
  std::string out = d.negative ? "-" : "";
  const int n = static_cast<int>(d.digits.size());
  if (d.exponent < 0) {
    out += "0.";
    out.append(static_cast<std::size_t>(-d.exponent - 1), '0');
    out += d.digits;
  } else if (d.exponent + 1 >= n) {
    out += d.digits;
    out.append(static_cast<std::size_t>(d.exponent + 1 - n), '0');
  } else {
    out += d.digits.substr(0, static_cast<std::size_t>(d.exponent + 1));
    out += '.';
    out += d.digits.substr(static_cast<std::size_t>(d.exponent + 1));
  }
  return out;
}

std::string exponent_form(const Decimal& d) {
  std::string out = d.negative ? "-" : "";
  out += d.digits[0];
  if (d.digits.size() > 1) {
    out += '.';
    out += d.digits.substr(1);
  }
  out += d.exponent < 0 ? "E-" : "E+";
  const int mag = std::abs(d.exponent);
  if (mag < 10) out += '0';
  out += std::to_string(mag);
  return out;
}

std::string general_text(double v, int digits) {
  if (v == 0 || std::isnan(v)) return "0";
  if (std::isinf(v)) return v < 0 ? "-1.#INF" : "1.#INF";
  Decimal d = to_decimal(v, digits);
  if (d.exponent < -4 || d.exponent >= digits) return exponent_form(d);
  return fixed_form(d);
}

}  // namespace

std::string double_text(double v) { return general_text(v, 15); }

std::string single_text(float v) { return general_text(static_cast<double>(v), 7); }

std::string plain_decimal_text(double v, int digits) {
  if (v == 0 || !std::isfinite(v)) return "0";
  Decimal d = to_decimal(v, digits);
  if (d.digits == "0") return "0";
  return fixed_form(d);
}

void append_single_plain_text(std::string& out, float v) {
  // Powers of ten that a single times exactly in a double: its 24 bits
  // times 5^12 < 2^28 take at most 52 bits.
  static constexpr double kTens[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12};
  constexpr int kMostTens = 12;
  constexpr std::uint32_t kLowest = 1000000, kPastHighest = 10000000;  // seven digits
  const double x = std::fabs(static_cast<double>(v));
  // From 1E-6 up to 1E7 the seven digits are x times a power of ten,
  // rounded here as the general conversion rounds them: half to even, on
  // the exact product. Other values take the general way.
  int tens = 0;
  while (tens < kMostTens && x * kTens[tens] < kLowest) ++tens;
  const double scaled = x * kTens[tens];
  if (!(scaled >= kLowest && scaled < kPastHighest)) {
    out += plain_decimal_text(static_cast<double>(v), 7);
    return;
  }
  std::uint32_t n = static_cast<std::uint32_t>(scaled);
  const double rest = scaled - n;
  if (rest > 0.5 || (rest == 0.5 && n % 2 == 1)) ++n;
  int point = 7 - tens;  // the digits before the point
  if (n == kPastHighest) {
    n = kLowest;
    ++point;
  }
  // The first digit, then the other six two at a time.
  static constexpr auto kPairs = [] {
    std::array<char, 200> pairs{};
    for (int i = 0; i < 100; ++i) {
      pairs[static_cast<std::size_t>(2 * i)] = static_cast<char>('0' + i / 10);
      pairs[static_cast<std::size_t>(2 * i + 1)] = static_cast<char>('0' + i % 10);
    }
    return pairs;
  }();
  // Seven digits, and room to copy seven from any of them: the copies
  // below are of fixed size, and `end` tells how much of them counts.
  char digits[14] = {};
  digits[0] = static_cast<char>('0' + n / 1000000);
  const std::uint32_t six = n % 1000000;
  std::memcpy(digits + 1, &kPairs[2 * (six / 10000)], 2);
  std::memcpy(digits + 3, &kPairs[2 * (six / 100 % 100)], 2);
  std::memcpy(digits + 5, &kPairs[2 * (six % 100)], 2);
  int count = 7;
  while (count > 1 && digits[count - 1] == '0') --count;
  // At most a sign, "0.", five zeros and seven digits, or eight digits.
  char text[24];
  char* end = text;
  if (v < 0) *end++ = '-';
  if (point <= 0) {
    std::memcpy(end, "0.00000", 7);
    end += 2 - point;
    std::memcpy(end, digits, 7);
    end += count;
  } else if (point >= count) {
    // The digits past `count` are zeros, and so is an eighth.
    std::memcpy(end, digits, 7);
    end[7] = '0';
    end += point;
  } else {
    std::memcpy(end, digits, 7);
    end += point;
    *end++ = '.';
    std::memcpy(end, digits + point, 7);
    end += count - point;
  }
  out.append(text, static_cast<std::size_t>(end - text));
}

std::string fixed_text(double v, int decimals) {
  char buf[400];  // the largest double has 309 digits before the point
  auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
  return std::string(buf, res.ptr);
}

}  // namespace makenc
