#include "judge/nc_path.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <future>
#include <iterator>
#include <limits>
#include <span>
#include <string_view>
#include <system_error>
#include <utility>

#include "core/beside.h"
#include "core/constants.h"
#include "core/files.h"
#include "core/number_text.h"
#include "core/text.h"

namespace makenc {
namespace {

constexpr double kTurn = 2 * kPi;

// The words of one block that move the tool or say how: of its G codes,
// the last motion (G00 to G03) and the last cutter compensation (G40 to
// G42) it gives, and whether it dwells or returns home (G04, G28), sets the
// position (G92) or turns compensation on (G41, G42); the coordinates it
// gives, each with its bit in `given`.
struct Block {
  static constexpr unsigned kX = 1, kY = 2, kI = 4, kJ = 8;
  int motion = -1, comp = 0;  // none given
  bool stays = false, sets = false, compensates = false;
  unsigned given = 0;
  double x, y, i, j;        // each read only when given
  bool codes_only = false;  // an M or E code and nothing else: nothing to follow
};

// What a byte begins in a block: a word whose letter is a coordinate, G or
// another address letter of these programs (the machine's codes M and E,
// block and program numbers N and O, feed, speed, tool, dwell and offsets
// F, S, T, P, D and H), a letter of none of them, a space, a comment, the
// line's end, or what is no word.
enum ByteKind : std::uint8_t { kNoWord, kSpace, kComment, kBreak, kG, kX, kY, kI, kJ, kOther, kUnknown };

constexpr std::array<ByteKind, 256> kByteKinds = [] {
  std::array<ByteKind, 256> kinds{};
  auto letter = [&](char c, ByteKind kind) {
    kinds[static_cast<unsigned char>(c)] = kind;
    kinds[static_cast<unsigned char>(c - 'A' + 'a')] = kind;
  };
  for (char c = 'A'; c <= 'Z'; ++c) letter(c, kUnknown);
  for (const char c : std::string_view("MENOFSTPDH")) letter(c, kOther);
  letter('G', kG);
  letter('X', kX);
  letter('Y', kY);
  letter('I', kI);
  letter('J', kJ);
  kinds[' '] = kinds['\t'] = kinds['%'] = kSpace;
  kinds['('] = kComment;
  kinds['\r'] = kinds['\n'] = kBreak;
  return kinds;
}();

std::string quote(std::string_view text) {
  std::string quoted(1, '"');
  quoted.append(text.substr(0, 20));
  if (text.size() > 20) quoted.append("…");
  quoted.push_back('"');
  return quoted;
}

// The powers of ten that are exact doubles.
constexpr double kTens[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                            1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// A number of more than 15 digits, leading zeros counted, read as
// read_number below reads it: one of at most 15 significant digits and 22
// places from its digits and a power of ten, any other by from_chars.
[[gnu::noinline]] const char* read_long_number(const char* text, const char* end, double& v) {
  const char* k = text;
  if (*k == '-' || *k == '+') ++k;
  const char* first = *text == '+' ? text + 1 : text;
  bool digits = false, point = false;
  std::int64_t whole = 0;
  int count = 0, after = 0;  // significant digits, up to one past 15
  for (; k < end; ++k) {
    const unsigned digit = static_cast<unsigned char>(*k) - unsigned{'0'};
    if (digit <= 9) {
      digits = true;
      if (count <= 15) {
        whole = whole * 10 + digit;
        count += whole != 0;
        after += point;
      }
    } else if (*k == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (!digits) return text;
  if (count <= 15 && after <= 22) {
    v = static_cast<double>(whole) / kTens[after];
    if (*text == '-') v = -v;
    return k;
  }
  const auto [stop, ec] = std::from_chars(first, k, v);
  if (ec == std::errc::result_out_of_range) {
    // Too large, or too small to tell from 0: a digit other than 0 before
    // the point tells which.
    const std::string_view before_point(text, static_cast<std::size_t>(std::find(text, k, '.') - text));
    const bool large = before_point.find_first_of("123456789") != std::string_view::npos;
    v = large ? (*text == '-' ? -1 : 1) * std::numeric_limits<double>::infinity() : 0;
  } else if (ec != std::errc() || stop != k) {
    return text;
  }
  return k;
}

// Why a block could not be read, and where: its text is made from the line
// only when it is told.
struct BlockFault {
  enum Kind { none, open_comment, no_word, no_number, unknown_word, incremental, unknown_g };
  Kind kind = none;
  std::size_t column = 0;  // of the word, from 0
  std::size_t length = 0;  // of the word
};

// A number as the program writes it from `text` on: a sign, digits and a
// decimal point, read whatever the locale and correctly rounded, as
// from_chars reads it. Gives where it ends: `text` when there is none.
const char* read_number(const char* text, const char* end, double& v) {
  const char* k = text;
  if (k < end && (*k == '-' || *k == '+')) ++k;
  // Up to 15 digits: the digits as a whole number and a power of ten are
  // both exact, so their quotient is the number correctly rounded.
  std::uint64_t whole = 0;  // wraps beyond 19 digits, and is then not used
  auto digits_to = [&](const char* from) {
    for (; from < end; ++from) {
      const unsigned digit = static_cast<unsigned char>(*from) - unsigned{'0'};
      if (digit > 9) break;
      whole = whole * 10 + digit;
    }
    return from;
  };
  const char* point = digits_to(k);
  std::ptrdiff_t digits = point - k, after = 0;
  k = point;
  if (k < end && *k == '.') {
    k = digits_to(point + 1);
    after = k - point - 1;
    digits += after;
  }
  if (digits == 0) return text;
  if (digits > 15) return read_long_number(text, end, v);
  v = static_cast<double>(whole) / kTens[after];
  if (*text == '-') v = -v;
  return k;
}

// Takes a G code the reader follows into the block: motion, dwell, return
// home, cutter compensation, the XY plane, units, absolute coordinates, the
// position set. Tells why when it is none of them.
inline BlockFault::Kind add_g(Block& b, int code) {
  switch (code) {
    case 0:
    case 1:
    case 2:
    case 3: b.motion = code; break;
    case 4:
    case 28: b.stays = true; break;
    case 40: b.comp = code; break;
    case 41:
    case 42:
      b.comp = code;
      b.compensates = true;
      break;
    case 92: b.sets = true; break;
    case 17:
    case 20:
    case 21:
    case 90: break;
    case 91: return BlockFault::incremental;
    default: return BlockFault::unknown_g;
  }
  return BlockFault::none;
}

std::string fault_text(const BlockFault& f, std::string_view line) {
  const std::string at = "column " + std::to_string(f.column + 1) + ": ";
  const std::string_view word = line.substr(f.column, f.length);
  switch (f.kind) {
    case BlockFault::open_comment: return at + "the comment is not closed by \")\"";
    case BlockFault::no_word:
      return at + quote(line.substr(f.column)) + " is no word: a word is a letter and a number";
    case BlockFault::no_number:
      return at + quote(line.substr(f.column)) + " is no word: the letter has no number";
    case BlockFault::unknown_word: return at + "the word " + quote(word) + " is no word of an NC program";
    case BlockFault::incremental: return at + "incremental coordinates (G91) are not followed";
    case BlockFault::unknown_g: return at + "the word " + quote(word) + " is no G code of these programs";
    case BlockFault::none: break;
  }
  return at;
}

bool line_break(char c) { return c == '\r' || c == '\n'; }

// Reads the block that starts at `line` into `b`, up to `end` or, with
// `kBreaks`, to the first CR or LF before it; gives where it stopped. What
// is no block of these programs is told in `fault`.
template <bool kBreaks>
const char* read_block(const char* line, const char* end, Block& b, BlockFault& fault) {
  const char* k = line;
  auto fail = [&](BlockFault::Kind kind, const char* word, const char* word_end) {
    fault = {kind, static_cast<std::size_t>(word - line), static_cast<std::size_t>(word_end - word)};
    return word;
  };
  while (k < end) {
    const ByteKind kind = kByteKinds[static_cast<unsigned char>(*k)];
    switch (kind) {
      case kSpace: ++k; continue;
      case kBreak:
        if (kBreaks) return k;
        return fail(BlockFault::no_word, k, k + 1);
      case kComment: {  // up to its closing bracket
        const char* close = k + 1;
        while (close < end && *close != ')' && !(kBreaks && line_break(*close))) ++close;
        if (close == end || *close != ')') return fail(BlockFault::open_comment, k, k + 1);
        k = close + 1;
        continue;
      }
      case kNoWord: return fail(BlockFault::no_word, k, k + 1);
      default: break;
    }
    double v = 0;
    const char* number_end = read_number(k + 1, end, v);
    if (number_end == k + 1) return fail(BlockFault::no_number, k, k + 1);
    switch (kind) {
      case kG: {
        const int code = v >= 0 && v < 1000 && v == static_cast<int>(v) ? static_cast<int>(v) : -1;
        const BlockFault::Kind refused = add_g(b, code);
        if (refused != BlockFault::none) return fail(refused, k, number_end);
        break;
      }
      case kX:
        b.x = v;
        b.given |= Block::kX;
        break;
      case kY:
        b.y = v;
        b.given |= Block::kY;
        break;
      case kI:
        b.i = v;
        b.given |= Block::kI;
        break;
      case kJ:
        b.j = v;
        b.given |= Block::kJ;
        break;
      case kOther: break;
      default: return fail(BlockFault::unknown_word, k, number_end);
    }
    k = number_end;
  }
  return k;
}

// The digits from `k + I` on, up to `N` of them, there being room for one
// byte more: their value after `whole`'s digits, where they end and the byte
// there less '0' (a digit when there were more than N).
struct DigitRun {
  std::uint64_t whole;
  const char* end;
  unsigned stop;
};

constexpr unsigned kPoint = static_cast<unsigned char>('.') - unsigned{'0'};

template <std::size_t I, std::size_t N>
[[gnu::always_inline]] inline DigitRun digit_run(const char* k, std::uint64_t whole) {
  const unsigned d = static_cast<unsigned char>(k[I]) - unsigned{'0'};
  if constexpr (I == N) {
    return {whole, k + N, d};
  } else {
    if (d > 9) return {whole, k + I, d};
    return digit_run<I + 1, N>(k, whole * 10 + d);
  }
}

bool is_digit(char c) { return static_cast<unsigned char>(c) - unsigned{'0'} <= 9; }

// A coordinate as the tool writes it from `k` on ("-39.81", "5.", "25"):
// at most 7 digits before the point and 7 after it, at least one in all,
// there being room for 17 bytes. Gives where it ends; nullptr for another.
const char* own_coordinate(const char* k, double& v) {
  const bool minus = *k == '-';
  const char* at = k + minus;
  const DigitRun before = digit_run<0, 7>(at, 0);
  DigitRun all = before;
  std::ptrdiff_t after = 0;
  if (before.stop == kPoint) {
    all = digit_run<0, 7>(before.end + 1, before.whole);
    after = all.end - before.end - 1;
  }
  // No digits, or more than 7 on either side of the point.
  if ((before.end == at && after == 0) || all.stop <= 9) return nullptr;
  v = static_cast<double>(all.whole) / kTens[after];
  if (minus) v = -v;
  return all.end;
}

// A G code as the tool writes it from `k` on ("G01", "G41"), taken into
// the block. Gives where it ends; nullptr for another.
inline const char* own_g(const char* k, Block& b) {
  const unsigned tens = static_cast<unsigned char>(k[1]) - unsigned{'0'};
  const unsigned ones = static_cast<unsigned char>(k[2]) - unsigned{'0'};
  // A third digit or a point after two is left where the next word or the
  // line's end should be, and the block is then none of the tool's.
  if (tens > 9 || ones > 9) return nullptr;
  if (add_g(b, static_cast<int>(tens * 10 + ones)) != BlockFault::none) return nullptr;
  return k + 3;
}

// The blocks the tool itself writes, read as read_block reads them: in
// capitals and in this order, a G code, X, Y, I, J and another G code, each
// there or not ("G01X39.81Y25.847G41", "G02X23.994Y64.635I5.743"), or an M
// or E code of one to three digits ("M08", "E1"); then the line's end, CR
// LF, LF or CR, after which the next line starts at `next`. False, and `b`
// not to be used, for any other block or one near the text's end.
bool read_own_block(const char* k, const char* end, Block& b, const char*& next) {
  if (end - k < 128) return false;  // room for what is read below
  if (*k == 'M' || *k == 'E') {
    b.codes_only = true;
    const char* digits = ++k;
    for (; k < digits + 3 && is_digit(*k); ++k) {
    }
    if (k == digits) return false;
  } else {
    if (*k == 'G' && !(k = own_g(k, b))) return false;
    if (*k == 'X') {
      if (!(k = own_coordinate(k + 1, b.x))) return false;
      b.given |= Block::kX;
    }
    if (*k == 'Y') {
      if (!(k = own_coordinate(k + 1, b.y))) return false;
      b.given |= Block::kY;
    }
    if (*k == 'I') {
      if (!(k = own_coordinate(k + 1, b.i))) return false;
      b.given |= Block::kI;
    }
    if (*k == 'J') {
      if (!(k = own_coordinate(k + 1, b.j))) return false;
      b.given |= Block::kJ;
    }
    if (*k == 'G' && !(k = own_g(k, b))) return false;
  }
  if (*k == '\r') {
    next = k + (k[1] == '\n' ? 2 : 1);
    return true;
  }
  if (*k != '\n') return false;
  next = k + 1;
  return true;
}

// A line of the start or end codes as the program's lines are compared
// with it: its text and, when it is at most 7 bytes long and holds no line
// end, those bytes as one number, the first in the lowest byte, to compare
// with eight bytes of a line at once on a little-endian machine.
struct CodeLine {
  explicit CodeLine(std::string_view code) : text(code) {
    short_line = std::endian::native == std::endian::little && code.size() <= 7 &&
                 code.find_first_of("\r\n") == std::string_view::npos;
    for (std::size_t k = 0; k < code.size() && k < 8; ++k)
      bytes |= std::uint64_t{static_cast<unsigned char>(code[k])} << (8 * k);
    mask = code.size() >= 8 ? ~std::uint64_t{0} : (std::uint64_t{1} << (8 * code.size())) - 1;
  }
  std::string_view text;
  std::uint64_t bytes = 0, mask = 0;
  bool short_line = false;
};

// The start codes, the end code and the marking condition as above.
struct CodeLines {
  explicit CodeLines(const StartCodes& codes)
      : cut(codes.cut.begin(), codes.cut.end()),
        mark(codes.mark.begin(), codes.mark.end()),
        end(codes.end.begin(), codes.end.end()),
        condition(codes.mark_condition) {}
  std::vector<CodeLine> cut, mark, end;
  CodeLine condition;
};

// The program as one text, read line by line as line_views splits it: a
// line ends at CR LF, a bare LF or a lone CR.
class TextLines {
 public:
  static constexpr bool kBreaks = true;
  explicit TextLines(std::string_view text) : text_(text) {}
  bool done() const { return at_ >= text_.size(); }
  std::size_t size() const { return text_.size(); }
  // The first byte of this line, CR or LF when it is empty.
  unsigned char first_byte() const { return static_cast<unsigned char>(text_[at_]); }
  const char* begin() const { return text_.data() + at_; }
  const char* end() const { return text_.data() + text_.size(); }
  std::string_view line() const {
    const char* stop = std::find_if(begin(), end(), line_break);
    return {begin(), static_cast<std::size_t>(stop - begin())};
  }
  // To the line after this one, whose line end (or the text's end) is at `stop`.
  void next_from(const char* stop) {
    at_ = static_cast<std::size_t>(stop - text_.data());
    if (at_ >= text_.size()) return;
    if (text_[at_++] == '\r' && at_ < text_.size() && text_[at_] == '\n') ++at_;
  }
  void next() { next_from(begin() + line().size()); }
  void start_at(const char* next) { at_ = static_cast<std::size_t>(next - text_.data()); }
  // Whether this line is `code`: its bytes and a line end or the text's end.
  bool is(const CodeLine& code) const {
    if (done()) return false;
    const char* line = begin();
    if (code.short_line && text_.size() - at_ >= 8) {
      std::uint64_t bytes = 0;
      std::memcpy(&bytes, line, sizeof bytes);
      return (bytes & code.mask) == code.bytes && line_break(line[code.text.size()]);
    }
    if (text_.size() - at_ < code.text.size()) return false;
    for (std::size_t k = 0; k < code.text.size(); ++k)
      if (line[k] != code.text[k] || line_break(code.text[k])) return false;
    return at_ + code.text.size() == text_.size() || line_break(line[code.text.size()]);
  }
  bool take(const CodeLine& code) {
    if (!is(code)) return false;
    next_from(begin() + code.text.size());
    return true;
  }

 private:
  std::string_view text_;
  std::size_t at_ = 0;  // where this line starts
};

// The program as lines already split.
class ViewLines {
 public:
  static constexpr bool kBreaks = false;
  explicit ViewLines(std::span<const std::string_view> lines) : lines_(lines) {}
  bool done() const { return at_ >= lines_.size(); }
  unsigned char first_byte() const {
    return lines_[at_].empty() ? '\n' : static_cast<unsigned char>(lines_[at_].front());
  }
  const char* begin() const { return lines_[at_].data(); }
  const char* end() const { return lines_[at_].data() + lines_[at_].size(); }
  std::string_view line() const { return lines_[at_]; }
  void next_from(const char*) { ++at_; }
  void next() { ++at_; }
  void start_at(const char*) { ++at_; }
  bool is(const CodeLine& code) const { return !done() && lines_[at_] == code.text; }
  bool take(const CodeLine& code) {
    if (!is(code)) return false;
    ++at_;
    return true;
  }

 private:
  std::span<const std::string_view> lines_;
  std::size_t at_ = 0;
};

// Whether the lines from `lines` on are `head`, line by line; `lines` is
// moved past them when they are.
template <class Lines>
bool take_each_line(Lines& lines, const std::vector<CodeLine>& head) {
  Lines after = lines;
  for (const CodeLine& code : head)
    if (!after.take(code)) return false;
  lines = after;
  return true;
}

template <class Lines>
[[gnu::always_inline]] inline bool take_lines(Lines& lines, const std::vector<CodeLine>& head) {
  if (head.size() == 1) return lines.take(head.front());
  return take_each_line(lines, head);
}

enum class Op { none, cut, mark };

// What the lines from `next` on (those after a rapid) start: cutting,
// marking, or neither.
template <class Lines>
Op op_after(const Lines& next, const CodeLines& codes) {
  Lines after_cut = next, after_mark = next;
  const bool cut = take_lines(after_cut, codes.cut);
  const bool mark = take_lines(after_mark, codes.mark);
  if (cut && mark) {
    if (codes.cut.size() != codes.mark.size())
      return codes.cut.size() > codes.mark.size() ? Op::cut : Op::mark;
    if (after_cut.done()) return Op::none;
    return after_cut.is(codes.condition) ? Op::mark : Op::cut;
  }
  if (cut) return Op::cut;
  if (mark) return Op::mark;
  return Op::none;
}

double norm_turn(double a) {
  a = std::fmod(a, kTurn);
  return a < 0 ? a + kTurn : a;
}

}  // namespace

double NcMove::sweep() const {
  if (turn == 0) return 0;
  const double a0 = std::atan2(from.y - centre.y, from.x - centre.x);
  const double a1 = std::atan2(to.y - centre.y, to.x - centre.x);
  if (distance(from, to) < 1e-9) return turn * kTurn;
  return turn > 0 ? norm_turn(a1 - a0) : -norm_turn(a0 - a1);
}

double NcMove::length() const {
  if (turn == 0) return distance(from, to);
  return distance(from, centre) * std::fabs(sweep());
}

Xy NcMove::at(double t) const {
  if (turn == 0) return {from.x + t * (to.x - from.x), from.y + t * (to.y - from.y)};
  const double r = distance(from, centre);
  const double a = std::atan2(from.y - centre.y, from.x - centre.x) + t * sweep();
  return {centre.x + r * std::cos(a), centre.y + r * std::sin(a)};
}

Xy NcMove::heading(double t) const {
  if (turn == 0) {
    const double len = distance(from, to);
    if (len == 0) return {0, 0};
    return {(to.x - from.x) / len, (to.y - from.y) / len};
  }
  const double a = std::atan2(from.y - centre.y, from.x - centre.x) + t * sweep();
  return {-turn * std::sin(a), turn * std::cos(a)};
}

namespace {

std::string line_text(std::size_t n) { return "line " + std::to_string(n + 1) + ": "; }

std::string coordinate_text(double v) {
  if (!std::isfinite(v)) return v > 0 ? "beyond any number" : "below any number";
  return fixed_text(v, 3);
}

bool within(const Xy& p, const NcLimits& limits) {
  return p.x >= limits.min_x && p.x <= limits.max_x && p.y >= limits.min_y && p.y <= limits.max_y;
}

std::string beyond_text(const Xy& p) {
  return "the point (" + coordinate_text(p.x) + ", " + coordinate_text(p.y) + ") lies far beyond the drawing";
}

bool template_line(const StartCodes& codes, std::string_view line) {
  return std::find(codes.template_lines.begin(), codes.template_lines.end(), line) !=
         codes.template_lines.end();
}

// Whether an arc's radii at its start and end, as distance() gives them,
// are both more than 0 and differ by no more than `tolerance`, told from
// their squares where these are neither tiny nor huge: the square roots of
// the sums of squares lie within a few units of the last place of distance(),
// far inside the slack taken. False when that does not settle it.
bool radii_agree(Xy from, Xy to, Xy centre, double tolerance) {
  const double ax = from.x - centre.x, ay = from.y - centre.y;
  const double bx = to.x - centre.x, by = to.y - centre.y;
  const double s0 = ax * ax + ay * ay, s1 = bx * bx + by * by;
  if (!(s0 > 1e-100 && s0 < 1e100 && s1 > 1e-100 && s1 < 1e100)) return false;
  const double q0 = std::sqrt(s0), q1 = std::sqrt(s1);
  return std::fabs(q0 - q1) + 1e-12 * (q0 + q1) <= tolerance;
}

std::int8_t turn_of(int motion) { return motion == 1 ? 0 : (motion == 3 ? 1 : -1); }

template <class Lines>
Result<std::vector<NcCut>> read_cuts(Lines lines, const StartCodes& codes, const NcLimits& given_limits) {
  const NcLimits limits = given_limits;  // a copy of its own, not to be read again after every store
  std::vector<NcCut> cuts;
  // Room for the contours of a sheet of small parts (about 130 bytes of
  // program each), taken at once: no more than the text takes again.
  if constexpr (Lines::kBreaks) cuts.reserve(lines.size() / 128);
  Xy at{0, 0};
  int motion = -1;  // no motion mode until a block gives one
  int comp = 40;
  Op op = Op::none;
  bool ended = true;  // the contour begun last has had its end code
  std::size_t n = 0;  // the lines passed
  // The moves of the last contour after its lead-in, kept here until the
  // next contour begins so that each contour takes them in one piece.
  std::vector<NcMove> moves;
  auto close_cut = [&] {
    if (!cuts.empty()) cuts.back().moves.assign(moves.begin(), moves.end());
    moves.clear();
  };
  const CodeLines code_lines(codes);
  const std::size_t lead_moves = std::min(limits.lead_in_moves, LeadMoves::kMost);
  // The first bytes a line can start with and be the end code's first line.
  std::array<bool, 256> end_first{};
  if (!codes.end.empty()) {
    const std::string& first = codes.end.front();
    if (first.empty())
      end_first['\r'] = end_first['\n'] = true;
    else
      end_first[static_cast<unsigned char>(first.front())] = true;
  }
  while (!lines.done()) {
    if (end_first[lines.first_byte()] && take_lines(lines, code_lines.end)) {
      ended = true;
      n += codes.end.size();
      continue;
    }
    const std::size_t here = n++;
    Block b;
    const char* next = nullptr;
    if (Lines::kBreaks && read_own_block(lines.begin(), lines.end(), b, next)) {
      lines.start_at(next);
      if (b.codes_only) continue;
    } else {
      b = Block();
      BlockFault fault;
      const char* stop = read_block<Lines::kBreaks>(lines.begin(), lines.end(), b, fault);
      if (fault.kind != BlockFault::none) {
        const std::string_view line = lines.line();
        // A shop's template may hold what is no word: it is sent as it is.
        if (template_line(codes, line)) {
          lines.next();
          continue;
        }
        return Error{line_text(here) + fault_text(fault, line)};
      }
      lines.next_from(stop);
    }
    if (b.comp != 0) comp = b.comp;
    if (b.stays) continue;  // a dwell or a return home: no move of the cut's
    if (b.sets) {           // the position is set, nothing moves
      if (b.given & Block::kX) at.x = b.x;
      if (b.given & Block::kY) at.y = b.y;
      if (!within(at, limits)) return Error{line_text(here) + beyond_text(at)};
      continue;
    }
    if (b.motion >= 0) motion = b.motion;
    if (motion < 0 || b.given == 0) continue;
    const Xy to{b.given & Block::kX ? b.x : at.x, b.given & Block::kY ? b.y : at.y};
    if (!within(to, limits)) return Error{line_text(here) + beyond_text(to)};
    if (motion == 0) {
      if (!(b.given & (Block::kX | Block::kY))) continue;
      if (!ended && op != Op::none)
        return Error{line_text(here) + "the contour begun on line " + std::to_string(cuts.back().line) +
                     " has no end code (\"" + codes.end.front() + "\") before this rapid move"};
      at = to;
      op = op_after(lines, code_lines);
      if (op != Op::none) {
        close_cut();
        NcCut& cut = cuts.emplace_back();
        cut.line = here + 1;
        cut.marking = op == Op::mark;
        cut.start = cut.contact = to;
        ended = codes.end.empty();
      }
      continue;
    }
    NcMove move;
    move.from = at;
    move.to = to;
    move.turn = turn_of(motion);
    move.centre = {at.x + (b.given & Block::kI ? b.i : 0), at.y + (b.given & Block::kJ ? b.j : 0)};
    move.comp = static_cast<std::uint8_t>(comp);
    move.line = static_cast<std::uint32_t>(here + 1);
    if (move.turn != 0) {
      if (!radii_agree(move.from, move.to, move.centre, limits.radius_tolerance)) {
        const double r0 = distance(move.from, move.centre), r1 = distance(move.to, move.centre);
        if (!(r0 > 0))
          return Error{line_text(here) + "the arc has no radius: I and J put its centre on its start"};
        if (!(std::fabs(r0 - r1) <= limits.radius_tolerance))
          return Error{line_text(here) + "the arc's radius is " + coordinate_text(r0) + " at its start but " +
                       coordinate_text(r1) + " at its end"};
      }
      if (!within(move.centre, limits))
        return Error{line_text(here) + "the arc's centre: " + beyond_text(move.centre)};
    }
    at = to;
    if (op == Op::none || cuts.empty()) continue;
    NcCut& cut = cuts.back();
    if (moves.empty() && !cut.lead_in && move.turn == 0 && b.compensates) {
      cut.lead_in = true;
      cut.lead_comp = comp;
      cut.contact = to;
      cut.lead.push_back(move);
      continue;
    }
    if (moves.empty() && cut.lead_in && cut.lead.size() < lead_moves) {
      cut.contact = to;
      cut.lead.push_back(move);
      continue;
    }
    moves.push_back(move);
  }
  close_cut();
  if (!ended && op != Op::none)
    return Error{"line " + std::to_string(n) + ": the contour begun on line " +
                 std::to_string(cuts.back().line) + " has no end code (\"" + codes.end.front() +
                 "\") before the program ends"};
  return cuts;
}

}  // namespace

namespace {

// A program this large is read in two halves at once.
constexpr std::size_t kBytesForTwoReaders = std::size_t{1} << 20;

// Whether the line at `at` is a rapid move to a point given whole,
// compensation off ("G00X…Y…G40" as the tool writes it): reading on from
// it, nothing the lines before it left matters.
bool fresh_rapid(std::string_view text, std::size_t at) {
  std::string_view line = text.substr(at);
  line = line.substr(0, std::min(line.size(), line.find_first_of("\r\n")));
  if (!line.starts_with("G00X")) return false;
  std::size_t k = 4;
  const auto number = [&] {
    if (k < line.size() && line[k] == '-') ++k;
    bool digits = false;
    for (; k < line.size() && (is_digit(line[k]) || line[k] == '.'); ++k)
      digits = digits || is_digit(line[k]);
    return digits;
  };
  if (!number() || k >= line.size() || line[k] != 'Y') return false;
  ++k;
  return number() && line.substr(k) == "G40";
}

// Where the program may be read in two halves: the first line at or after
// `from` that begins a contour right after an end code, at a rapid move as
// fresh_rapid takes it; npos for none.
std::size_t fresh_start(std::string_view text, std::size_t from, const StartCodes& codes) {
  std::string end;
  for (const std::string& line : codes.end) end.append(line).append("\r\n");
  if (end.empty()) return std::string_view::npos;
  for (std::size_t at = text.find(end, from); at != std::string_view::npos; at = text.find(end, at + 1)) {
    if (at > 0 && !line_break(text[at - 1])) continue;
    if (fresh_rapid(text, at + end.size())) return at + end.size();
  }
  return std::string_view::npos;
}

// The lines the text holds before `at`, a line start: line ends as
// TextLines takes them.
std::uint32_t lines_before(std::string_view text, std::size_t at) {
  std::uint32_t n = 0;
  for (std::size_t k = 0; k < at; ++k) {
    if (text[k] == '\n') {
      ++n;
    } else if (text[k] == '\r') {
      ++n;
      if (k + 1 < at && text[k + 1] == '\n') ++k;
    }
  }
  return n;
}

}  // namespace

Result<std::vector<NcCut>> read_nc_cuts(std::string_view text, const StartCodes& codes,
                                        const NcLimits& limits) {
  const std::size_t split =
      text.size() >= kBytesForTwoReaders ? fresh_start(text, text.size() / 2, codes) : std::string_view::npos;
  if (split != std::string_view::npos) {
    auto second = start_beside([&] { return read_cuts(TextLines(text.substr(split)), codes, limits); });
    auto cuts = read_cuts(TextLines(text.substr(0, split)), codes, limits);
    auto rest = second.get();
    // Where either half is refused, the whole is read again: the error is
    // then the one reading from the start finds first.
    if (cuts && rest) {
      const std::uint32_t shift = lines_before(text, split);
      for (NcCut& cut : *rest) {
        cut.line += shift;
        for (std::size_t k = 0; k < cut.lead.size(); ++k) cut.lead[k].line += shift;
        for (NcMove& m : cut.moves) m.line += shift;
      }
      cuts->reserve(cuts->size() + rest->size());
      std::move(rest->begin(), rest->end(), std::back_inserter(*cuts));
      return cuts;
    }
  }
  return read_cuts(TextLines(text), codes, limits);
}

Result<std::vector<NcCut>> read_nc_cuts(const std::vector<std::string>& lines, const StartCodes& codes,
                                        const NcLimits& limits) {
  const std::vector<std::string_view> views(lines.begin(), lines.end());
  return read_nc_cuts(std::span<const std::string_view>(views), codes, limits);
}

Result<std::vector<NcCut>> read_nc_cuts(std::span<const std::string_view> lines, const StartCodes& codes,
                                        const NcLimits& limits) {
  return read_cuts(ViewLines(lines), codes, limits);
}

Result<std::vector<std::string>> read_nc_file(const std::filesystem::path& file) {
  auto text = read_nc_text(file);
  if (!text) return text.error();
  return text_lines(*text);
}

Result<std::string> read_nc_text(const std::filesystem::path& file) {
  std::error_code ec;
  const std::string name = display_path(file);
  if (std::filesystem::is_directory(file, ec)) return Error{name + " is a folder, not an NC program"};
  const std::uintmax_t size = std::filesystem::file_size(file, ec);
  if (ec) return Error{"cannot read the NC program " + name + ": " + ec.message()};
  if (size == 0) return Error{name + " is empty: there is no program to judge"};
  if (size > kMostNcBytes)
    return Error{name + " holds " + std::to_string(size >> 20) + " MB, more than an NC program can (" +
                 std::to_string(kMostNcBytes >> 20) + " MB): it is not read"};
  const auto bytes = read_file_bytes(file);
  if (!bytes) return Error{"cannot read the NC program " + name};
  std::size_t line = 1, column = 1;
  for (const char c : *bytes) {
    const auto u = static_cast<unsigned char>(c);
    if (u == '\n') {
      ++line;
      column = 1;
      continue;
    }
    if ((u < 0x20 && u != '\t' && u != '\r') || u == 0x7f) {
      char byte[8];
      std::snprintf(byte, sizeof byte, "0x%02X", u);
      return Error{name + " line " + std::to_string(line) + ": byte " + byte + " at column " +
                   std::to_string(column) + " is no character of a text file: this is no NC program"};
    }
    ++column;
  }
  return std::move(*bytes);
}

}  // namespace makenc
