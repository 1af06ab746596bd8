#include "core/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
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

std::string fixed_text(double v, int decimals) {
  char buf[400];  // the largest double has 309 digits before the point
  auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
  return std::string(buf, res.ptr);
}

}  // namespace makenc
