// The value of every table entry and shared variable of the drawing.
//
// The host writes numbers as text and the system keeps them as text until a
// stage replaces them by a number, so a cell remembers which of the two it
// holds: the text form of a cell (what the dumps and the check drawing show)
// and the way it compares both depend on it.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>

#include "core/cell_text.h"

namespace makenc {

// Arithmetic on a text that is not wholly a number cannot be done; the
// caller reports it with the file, line or record it came from.
class CellArithmeticError : public std::runtime_error {
 public:
  explicit CellArithmeticError(const std::string& text)
      : std::runtime_error("not a number: \"" + text + "\""), text_(text) {}
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

class Cell {
 public:
  enum class Tag : std::uint8_t { Empty, Text, Integer, Single, Double };

  Cell() = default;
  Cell(double v) : value_(v) {}                                // NOLINT: a number is a cell
  Cell(float v) : value_(v) {}                                 // NOLINT
  Cell(std::int64_t v) : value_(v) {}                          // NOLINT
  Cell(int v) : value_(std::int64_t{v}) {}                     // NOLINT
  Cell(const std::string& bytes) : value_(CellText(bytes)) {}  // NOLINT
  Cell(const char* bytes) : value_(CellText(bytes)) {}         // NOLINT

  Tag tag() const { return static_cast<Tag>(value_.index()); }
  // Only a cell never written is empty; a cell holding "" is not.
  bool is_empty() const { return tag() == Tag::Empty; }
  // The test most stages use: nothing in the cell, or the empty text.
  bool is_blank() const;
  bool is_text() const { return tag() == Tag::Text; }
  bool is_number() const { return tag() == Tag::Integer || tag() == Tag::Single || tag() == Tag::Double; }

  // The bytes of a text cell (code page 932); "" for any other cell.
  std::string_view text() const;

  // Lenient reading: a text is read as a decimal literal from its start up
  // to the first character that does not fit; no digit gives 0. Never fails.
  double number() const {
    // Coordinates are Doubles once measured: the common case stays inline.
    if (const double* d = std::get_if<double>(&value_)) return *d;
    return number_of_other();
  }
  // Strict reading used by arithmetic: the whole text must be a number.
  // Throws CellArithmeticError otherwise. Empty counts as 0.
  double strict_number() const;

  // Doubles with at most 15, singles with at most 7 significant digits.
  std::string text_form() const;

  // A cell compared with a text literal compares its text form; the kind
  // and mark tests of every stage make this the most frequent comparison,
  // so a text cell is compared without making its text form.
  bool operator==(std::string_view literal) const;
  bool operator==(const char* literal) const { return *this == std::string_view(literal); }

 private:
  double number_of_other() const;

  std::variant<std::monostate, CellText, std::int64_t, float, double> value_;
};

// Numeric comparison with a number literal (Empty counts as 0; a text is
// read leniently).
inline bool equals_number(const Cell& c, double v) { return c.number() == v; }

// Two cells: numeric when both hold numbers, textual when both hold text, a
// number is always less than a text; Empty is 0 against a number and "" against
// a text. Returns <0, 0, >0.
int compare(const Cell& a, const Cell& b);

// Strict arithmetic; the result is a Double.
Cell operator+(const Cell& a, const Cell& b);
Cell operator-(const Cell& a, const Cell& b);
Cell operator*(const Cell& a, const Cell& b);
Cell operator/(const Cell& a, const Cell& b);

// Lenient numeric value of a text, the reading every stage uses.
double numeric_value(std::string_view text);
// Strict: the whole text (blanks around it allowed) must be a number.
bool parse_strict_number(std::string_view text, double& out);
// Whether the whole text (blanks around it allowed) is a decimal literal,
// however large its value: tells a number too large for a double from a
// text that is no number at all.
bool is_decimal_literal(std::string_view text);

// The returned cell is one of the arguments, unchanged (text stays text);
// on equal values the second one wins.
const Cell& val_max(const Cell& a, const Cell& b);
const Cell& val_min(const Cell& a, const Cell& b);

double pt_dist(double x1, double y1, double x2, double y2);

}  // namespace makenc
