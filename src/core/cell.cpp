#include "core/cell.h"

#include <charconv>
#include <cmath>
#include <string>

#include "core/number_text.h"

namespace makenc {
namespace {

bool is_blank_char(char c) { return c == ' ' || c == '\t'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Length of the longest decimal literal at the start of s (after the sign):
// digits with one optional point, then an optional exponent "E"/"D" with sign.
// Sets `digits` when at least one mantissa digit was seen.
std::size_t literal_length(std::string_view s, bool& digits) {
  std::size_t i = 0;
  digits = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  bool point = false;
  for (; i < s.size(); ++i) {
    if (is_digit(s[i])) {
      digits = true;
    } else if (s[i] == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (!digits) return 0;
  if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    if (j < s.size() && is_digit(s[j])) {
      while (j < s.size() && is_digit(s[j])) ++j;
      i = j;
    }
  }
  return i;
}

// The power of ten of the first significant digit of a literal found by
// literal_length (0 when it has none). Only its sign is needed, so a long
// exponent is cut short.
long decimal_magnitude(std::string_view lit) {
  std::size_t i = (lit[0] == '+' || lit[0] == '-') ? 1 : 0;
  long whole = 0, leading_zeros = 0;
  bool point = false, significant = false;
  for (; i < lit.size() && (is_digit(lit[i]) || lit[i] == '.'); ++i) {
    if (lit[i] == '.') {
      point = true;
    } else if (significant || lit[i] != '0') {
      significant = true;
      if (!point) ++whole;
    } else if (point) {
      ++leading_zeros;
    }
  }
  if (!significant) return 0;
  long exponent = 0;
  bool negative = false;
  if (i < lit.size()) {  // the exponent letter
    ++i;
    if (lit[i] == '+' || lit[i] == '-') negative = lit[i++] == '-';
    for (; i < lit.size() && exponent < 1000000; ++i) exponent = exponent * 10 + (lit[i] - '0');
  }
  return (whole > 0 ? whole - 1 : -(leading_zeros + 1)) + (negative ? -exponent : exponent);
}

// Powers of ten that a double holds exactly.
constexpr double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The value of a literal found by literal_length when its digits, read as a
// whole number, are at most 2^53 and its power of ten is within 22 of 0: the
// digits and the power are then both exact doubles, and one multiplication or
// division rounds their quotient or product correctly, as the full
// conversion does. False for any other literal.
bool convert_exactly(std::string_view lit, double& out) {
  const char* p = lit.data();
  const char* const end = p + lit.size();
  const bool negative = *p == '-';
  if (*p == '+' || *p == '-') ++p;
  // Up to 19 digits fit the whole number; more are left to the full
  // conversion (the number wraps, and is then not used).
  std::uint64_t digits = 0;
  int count = 0;
  for (; p != end && is_digit(*p); ++p, ++count) digits = digits * 10 + static_cast<unsigned>(*p - '0');
  long power = 0;
  if (p != end && *p == '.') {
    for (++p; p != end && is_digit(*p); ++p, ++count, --power)
      digits = digits * 10 + static_cast<unsigned>(*p - '0');
  }
  if (count > 19) return false;
  if (p != end) {  // the exponent letter, an optional sign and digits
    ++p;
    const bool exponent_negative = *p == '-';
    if (*p == '+' || *p == '-') ++p;
    long exponent = 0;
    for (; p != end; ++p) {
      exponent = exponent * 10 + (*p - '0');
      if (exponent > 1000) return false;
    }
    power += exponent_negative ? -exponent : exponent;
  }
  constexpr std::uint64_t kExactDigits = std::uint64_t{1} << 53;
  if (digits > kExactDigits) return false;
  double v = static_cast<double>(digits);
  if (digits == 0) {
    v = 0;
  } else if (power >= 0 && power <= 22) {
    v *= kExactPowers[power];
  } else if (power < 0 && power >= -22) {
    v /= kExactPowers[-power];
  } else {
    return false;
  }
  out = negative ? -v : v;
  return true;
}

// A literal of the form the host writes, [sign] digits [. digits], at the
// start of s: its length, with its value in `out` when convert_exactly's
// rule makes the value exact. 0 for any other text, which the full reading
// then takes.
std::size_t plain_literal(std::string_view s, double& out) {
  const char* const begin = s.data();
  const char* const end = begin + s.size();
  const char* p = begin;
  if (p == end) return 0;
  const bool negative = *p == '-';
  if (*p == '+' || *p == '-') ++p;
  std::uint64_t digits = 0;
  int count = 0;
  int scale = 0;
  for (; p != end && is_digit(*p); ++p, ++count) digits = digits * 10 + static_cast<unsigned>(*p - '0');
  if (p != end && *p == '.') {
    for (++p; p != end && is_digit(*p); ++p, ++count, ++scale)
      digits = digits * 10 + static_cast<unsigned>(*p - '0');
  }
  constexpr std::uint64_t kExactDigits = std::uint64_t{1} << 53;
  if (count == 0 || count > 19 || digits > kExactDigits || scale > 22) return 0;
  const double v = static_cast<double>(digits) / kExactPowers[scale];
  out = negative ? -v : v;
  return static_cast<std::size_t>(p - begin);
}

bool is_exponent_letter(char c) { return c == 'E' || c == 'e' || c == 'D' || c == 'd'; }

// Converts a literal found by literal_length; "D" exponents read as "E".
double convert_literal(std::string_view lit) {
  double exact = 0;
  if (convert_exactly(lit, exact)) return exact;
  std::string buf(lit);
  for (char& c : buf)
    if (c == 'D' || c == 'd' || c == 'E') c = 'e';
  const char* first = buf.data();
  if (!buf.empty() && buf[0] == '+') ++first;
  double v = 0;
  auto res = std::from_chars(first, buf.data() + buf.size(), v);
  if (res.ec == std::errc::result_out_of_range) {
    // Too small underflows to 0; too large would be an overflow error.
    v = decimal_magnitude(lit) < 0 ? 0.0 : HUGE_VAL;
    if (buf[0] == '-') v = -v;
  }
  return v;
}

inline std::string_view trim_blanks(std::string_view s) {
  while (!s.empty() && is_blank_char(s.front())) s.remove_prefix(1);
  while (!s.empty() && is_blank_char(s.back())) s.remove_suffix(1);
  return s;
}

}  // namespace

double numeric_value(std::string_view text) {
  while (!text.empty() && is_blank_char(text.front())) text.remove_prefix(1);
  double plain = 0;
  const std::size_t length = plain_literal(text, plain);
  if (length > 0 && (length == text.size() || !is_exponent_letter(text[length]))) return plain;
  bool digits = false;
  const std::size_t n = literal_length(text, digits);
  return digits ? convert_literal(text.substr(0, n)) : 0.0;
}

bool is_decimal_literal(std::string_view text) {
  text = trim_blanks(text);
  bool digits = false;
  const std::size_t n = literal_length(text, digits);
  return digits && n == text.size();
}

bool parse_strict_number(std::string_view text, double& out) {
  text = trim_blanks(text);
  double plain = 0;
  if (plain_literal(text, plain) == text.size() && !text.empty()) {
    out = plain;
    return true;
  }
  bool digits = false;
  const std::size_t n = literal_length(text, digits);
  if (!digits || n != text.size()) return false;
  out = convert_literal(text);
  return std::isfinite(out);
}

double Cell::number_of_other() const {
  switch (tag()) {
    case Tag::Empty: return 0.0;
    case Tag::Text: return numeric_value(text());
    case Tag::Integer: return static_cast<double>(get<std::int64_t>());
    case Tag::Single: return static_cast<double>(get<float>());
    case Tag::Double: return get<double>();
  }
  return 0.0;
}

double Cell::strict_number() const {
  if (!is_text()) return number();
  double v = 0;
  if (!parse_strict_number(text(), v)) throw CellArithmeticError(std::string(text()));
  return v;
}

std::string Cell::text_form() const {
  switch (tag()) {
    case Tag::Empty: return {};
    case Tag::Text: return std::string(text());
    case Tag::Integer: return std::to_string(get<std::int64_t>());
    case Tag::Single: return single_text(get<float>());
    case Tag::Double: return double_text(get<double>());
  }
  return {};
}

bool Cell::equals_other(std::string_view literal) const {
  switch (tag()) {
    case Tag::Empty: return literal.empty();
    case Tag::Text: return text() == literal;
    default:
      // The text form of a number is "0" for both zeros (and for NaN) and
      // for nothing else; the reader asks this of every coordinate it
      // stores, where formatting each one would cost more than the reading.
      if (literal == "0") {
        const double v = number();
        return v == 0 || std::isnan(v);
      }
      return text_form() == literal;
  }
}

int compare(const Cell& a, const Cell& b) {
  const bool a_text = a.is_text();
  const bool b_text = b.is_text();
  if (a_text && b_text) {
    const int c = a.text().compare(b.text());
    return (c > 0) - (c < 0);
  }
  if (!a_text && !b_text) {
    const double x = a.number();
    const double y = b.number();
    return (x > y) - (x < y);
  }
  // One text, one number or Empty: Empty reads as "" against a text.
  if (a.is_empty()) return b.text().empty() ? 0 : -1;
  if (b.is_empty()) return a.text().empty() ? 0 : 1;
  return a_text ? 1 : -1;  // a number is less than any text
}

Cell operator+(const Cell& a, const Cell& b) { return Cell(a.strict_number() + b.strict_number()); }
Cell operator-(const Cell& a, const Cell& b) { return Cell(a.strict_number() - b.strict_number()); }
Cell operator*(const Cell& a, const Cell& b) { return Cell(a.strict_number() * b.strict_number()); }
Cell operator/(const Cell& a, const Cell& b) { return Cell(a.strict_number() / b.strict_number()); }

const Cell& val_max(const Cell& a, const Cell& b) { return a.number() > b.number() ? a : b; }
const Cell& val_min(const Cell& a, const Cell& b) { return a.number() < b.number() ? a : b; }

}  // namespace makenc
