// The value of every table entry and shared variable of the drawing.
//
// The host writes numbers as text and the system keeps them as text until a
// stage replaces them by a number, so a cell remembers which of the two it
// holds: the text form of a cell (what the dumps and the check drawing show)
// and the way it compares both depend on it.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

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

// A cell takes 16 bytes: a text of up to 15 bytes is held in place, a
// longer one on the heap, and a number in the first 8 bytes; byte 15 tells
// which (see core/cell_text.h). Copying a cell that holds no heap text
// copies its 16 bytes.
class Cell {
 public:
  enum class Tag : std::uint8_t { Empty, Text, Integer, Single, Double };

  Cell() noexcept { raw_.set_mark(kEmptyMark); }
  Cell(double v) noexcept { put(v, kDoubleMark); }              // NOLINT: a number is a cell
  Cell(float v) noexcept { put(v, kSingleMark); }               // NOLINT
  Cell(std::int64_t v) noexcept { put(v, kIntegerMark); }       // NOLINT
  Cell(int v) noexcept { put(std::int64_t{v}, kIntegerMark); }  // NOLINT
  Cell(const std::string& bytes) { raw_.put_text(bytes); }      // NOLINT
  Cell(const char* bytes) { raw_.put_text(bytes); }             // NOLINT
  // A text cell of the bytes, however they are held.
  explicit Cell(std::string_view bytes) { raw_.put_text(bytes); }

  Cell(const Cell& o) {
    if (o.raw_.is_heap_text())
      raw_.put_text(o.raw_.text_view());
    else
      raw_ = o.raw_;
  }
  // A moved-from text cell holds the empty text; any other cell keeps its
  // value.
  Cell(Cell&& o) noexcept : raw_(o.raw_) {
    if (o.raw_.is_heap_text()) o.raw_.set_mark(0);
  }
  Cell& operator=(const Cell& o) {
    if (this == &o) return *this;
    if (!o.raw_.is_heap_text()) {
      raw_.release();
      raw_ = o.raw_;
      return *this;
    }
    Cell copy(o);
    std::swap(raw_, copy.raw_);
    return *this;
  }
  Cell& operator=(Cell&& o) noexcept {
    if (this == &o) return *this;
    raw_.release();
    raw_ = o.raw_;
    if (o.raw_.is_heap_text()) o.raw_.set_mark(0);
    return *this;
  }
  ~Cell() { raw_.release(); }
  // Exchanges two cells as they are, a text on the heap with its owner.
  friend void swap(Cell& a, Cell& b) noexcept { std::swap(a.raw_, b.raw_); }

  Tag tag() const {
    switch (raw_.mark()) {
      case kEmptyMark: return Tag::Empty;
      case kIntegerMark: return Tag::Integer;
      case kSingleMark: return Tag::Single;
      case kDoubleMark: return Tag::Double;
      default: return Tag::Text;
    }
  }
  // Only a cell never written is empty; a cell holding "" is not.
  bool is_empty() const { return raw_.mark() == kEmptyMark; }
  // The test most stages use: nothing in the cell, or the empty text.
  bool is_blank() const { return is_empty() || raw_.mark() == 0; }
  bool is_text() const { return raw_.is_small_text() || raw_.is_heap_text(); }
  bool is_number() const {
    return raw_.mark() == kIntegerMark || raw_.mark() == kSingleMark || raw_.mark() == kDoubleMark;
  }

  // The bytes of a text cell (code page 932); "" for any other cell.
  std::string_view text() const { return is_text() ? raw_.text_view() : std::string_view(); }

  // Lenient reading: a text is read as a decimal literal from its start up
  // to the first character that does not fit; no digit gives 0. Never fails.
  double number() const {
    // Coordinates are Doubles once measured: the common case stays inline.
    if (raw_.mark() == kDoubleMark) return get<double>();
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
  bool operator==(std::string_view literal) const {
    if (!raw_.is_small_text()) return equals_other(literal);
    return literal.size() == raw_.mark() &&
           (literal.empty() || std::memcmp(raw_.bytes, literal.data(), literal.size()) == 0);
  }
  bool operator==(const char* literal) const { return *this == std::string_view(literal); }

 private:
  // Values of byte 15 beside the text counts 0..15 and TextBytes::kHeap.
  static constexpr unsigned char kEmptyMark = 0xF0;
  static constexpr unsigned char kIntegerMark = 0xF1;
  static constexpr unsigned char kSingleMark = 0xF2;
  static constexpr unsigned char kDoubleMark = 0xF3;

  template <typename T>
  void put(T v, unsigned char mark) {
    std::memcpy(raw_.bytes, &v, sizeof v);
    raw_.set_mark(mark);
  }
  template <typename T>
  T get() const {
    T v;
    std::memcpy(&v, raw_.bytes, sizeof v);
    return v;
  }

  double number_of_other() const;
  // operator== for any cell but a text held in place.
  bool equals_other(std::string_view literal) const;

  TextBytes raw_{};
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

inline double pt_dist(double x1, double y1, double x2, double y2) {
  return std::sqrt((x1 - x2) * (x1 - x2) + (y1 - y2) * (y1 - y2));
}

}  // namespace makenc
