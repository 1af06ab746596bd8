#include "judge/nc_path.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>
#include <span>
#include <string_view>
#include <system_error>

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
// position (G92) or turns compensation on (G41, G42).
struct Block {
  int motion = -1, comp = 0;  // none given
  bool stays = false, sets = false, compensates = false;
  std::optional<double> x, y, i, j;
  void add_g(int code) {
    if (code >= 0 && code <= 3) motion = code;
    if (code == 40 || code == 41 || code == 42) comp = code;
    if (code == 4 || code == 28) stays = true;
    if (code == 92) sets = true;
    if (code == 41 || code == 42) compensates = true;
  }
};

// The address letters of these programs: the motion and its coordinates,
// the machine's codes (M, E and the conditions), block and program
// numbers, feed, speed, tool, dwell and offsets.
bool known_letter(char c) {
  switch (c) {
    case 'G':
    case 'X':
    case 'Y':
    case 'I':
    case 'J':
    case 'M':
    case 'E':
    case 'N':
    case 'O':
    case 'F':
    case 'S':
    case 'T':
    case 'P':
    case 'D':
    case 'H': return true;
    default: return false;
  }
}

// The G codes the reader follows: motion, dwell, return home, cutter
// compensation, the XY plane, units, absolute coordinates, the position set.
bool known_g(int code) {
  switch (code) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 4:
    case 17:
    case 20:
    case 21:
    case 28:
    case 40:
    case 41:
    case 42:
    case 90:
    case 92: return true;
    default: return false;
  }
}

std::string quote(std::string_view text) {
  std::string quoted(1, '"');
  quoted.append(text.substr(0, 20));
  if (text.size() > 20) quoted.append("…");
  quoted.push_back('"');
  return quoted;
}

// A number as the program writes it: a sign, digits and a decimal point,
// read whatever the locale; its length in `used`, 0 when there is none.
double read_number(std::string_view text, std::size_t& used) {
  used = 0;
  if (text.empty()) return 0;
  std::size_t k = 0;
  if (text[k] == '-' || text[k] == '+') ++k;
  const std::size_t first = text[0] == '+' ? 1 : 0;
  bool digits = false, point = false;
  // Up to 15 digits with at most 22 after the point: the digits as a whole
  // number and a power of ten are both exact, so their quotient is the
  // number correctly rounded, as from_chars reads it.
  std::int64_t whole = 0;
  int count = 0, after = 0;  // significant digits, up to one past 15
  for (; k < text.size(); ++k) {
    const unsigned digit = static_cast<unsigned char>(text[k]) - unsigned{'0'};
    if (digit <= 9) {
      digits = true;
      if (count <= 15) {
        whole = whole * 10 + digit;
        count += whole != 0;
        after += point;
      }
    } else if (text[k] == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (!digits) return 0;
  if (count <= 15 && after <= 22) {
    static constexpr double kTens[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                       1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const double v = static_cast<double>(whole) / kTens[after];
    used = k;
    return text[0] == '-' ? -v : v;
  }
  double v = 0;
  const auto [end, ec] = std::from_chars(text.data() + first, text.data() + k, v);
  if (ec == std::errc::result_out_of_range) {
    // Too large, or too small to tell from 0: a digit other than 0 before
    // the point tells which.
    const std::string_view before_point = text.substr(0, std::min(k, text.find('.')));
    const bool large = before_point.find_first_of("123456789") != std::string_view::npos;
    v = large ? (text[0] == '-' ? -1 : 1) * std::numeric_limits<double>::infinity() : 0;
  } else if (ec != std::errc() || end != text.data() + k)
    return 0;
  used = k;
  return v;
}

bool ascii_letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
char ascii_upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

Result<Block> read_block(std::string_view line) {
  Block b;
  std::size_t k = 0;
  auto at = [&](std::size_t column) { return "column " + std::to_string(column + 1) + ": "; };
  while (k < line.size()) {
    const char raw = line[k];
    if (raw == '(') {  // a comment up to its closing bracket
      const std::size_t close = line.find(')', k);
      if (close == std::string_view::npos) return Error{at(k) + "the comment is not closed by \")\""};
      k = close + 1;
      continue;
    }
    if (raw == ' ' || raw == '\t' || raw == '%') {
      ++k;
      continue;
    }
    if (!ascii_letter(raw))
      return Error{at(k) + quote(line.substr(k)) + " is no word: a word is a letter and a number"};
    const char c = ascii_upper(raw);
    std::size_t used = 0;
    const double v = read_number(line.substr(k + 1), used);
    if (used == 0) return Error{at(k) + quote(line.substr(k)) + " is no word: the letter has no number"};
    const std::string_view word = line.substr(k, 1 + used);
    if (!known_letter(c)) return Error{at(k) + "the word " + quote(word) + " is no word of an NC program"};
    k += 1 + used;
    switch (c) {
      case 'G': {
        const bool whole = v == std::floor(v) && v < 1000;
        const int code = whole ? static_cast<int>(v) : -1;
        if (code == 91) return Error{at(k - 1 - used) + "incremental coordinates (G91) are not followed"};
        if (!known_g(code))
          return Error{at(k - 1 - used) + "the word " + quote(word) + " is no G code of these programs"};
        b.add_g(code);
        break;
      }
      case 'X': b.x = v; break;
      case 'Y': b.y = v; break;
      case 'I': b.i = v; break;
      case 'J': b.j = v; break;
      default: break;
    }
  }
  return b;
}

bool starts_with(std::span<const std::string_view> lines, std::size_t at,
                 const std::vector<std::string>& head) {
  if (at + head.size() > lines.size()) return false;
  for (std::size_t k = 0; k < head.size(); ++k)
    if (lines[at + k] != head[k]) return false;
  return true;
}

enum class Op { none, cut, mark };

// What the lines after a rapid at line `at` start: cutting, marking, or
// neither.
Op op_after(std::span<const std::string_view> lines, std::size_t at, const StartCodes& codes) {
  const std::size_t next = at + 1;
  const bool cut = starts_with(lines, next, codes.cut);
  const bool mark = starts_with(lines, next, codes.mark);
  if (cut && mark) {
    if (codes.cut.size() != codes.mark.size())
      return codes.cut.size() > codes.mark.size() ? Op::cut : Op::mark;
    const std::size_t condition = next + codes.cut.size();
    if (condition >= lines.size()) return Op::none;
    return lines[condition] == codes.mark_condition ? Op::mark : Op::cut;
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

Status check_within(const Xy& p, const NcLimits& limits) {
  const bool inside =
      p.x >= limits.min_x && p.x <= limits.max_x && p.y >= limits.min_y && p.y <= limits.max_y;
  if (inside) return ok_status();
  return Error{"the point (" + coordinate_text(p.x) + ", " + coordinate_text(p.y) +
               ") lies far beyond the drawing"};
}

bool template_line(const StartCodes& codes, std::string_view line) {
  return std::find(codes.template_lines.begin(), codes.template_lines.end(), line) !=
         codes.template_lines.end();
}

}  // namespace

Result<std::vector<NcCut>> read_nc_cuts(const std::vector<std::string>& lines, const StartCodes& codes,
                                        const NcLimits& limits) {
  const std::vector<std::string_view> views(lines.begin(), lines.end());
  return read_nc_cuts(std::span<const std::string_view>(views), codes, limits);
}

Result<std::vector<NcCut>> read_nc_cuts(std::span<const std::string_view> lines, const StartCodes& codes,
                                        const NcLimits& limits) {
  std::vector<NcCut> cuts;
  cuts.reserve(lines.size() / 2);  // a rapid and at least a move a contour
  Xy at{0, 0};
  int motion = -1;  // no motion mode until a block gives one
  int comp = 40;
  Op op = Op::none;
  bool ended = true;  // the contour begun last has had its end code
  for (std::size_t n = 0; n < lines.size(); ++n) {
    if (!codes.end.empty() && starts_with(lines, n, codes.end)) {
      ended = true;
      n += codes.end.size() - 1;
      continue;
    }
    auto read = read_block(lines[n]);
    if (!read) {
      // A shop's template may hold what is no word: it is sent as it is.
      if (template_line(codes, lines[n])) continue;
      return Error{line_text(n) + read.error().message};
    }
    const Block& b = *read;
    if (b.comp != 0) comp = b.comp;
    if (b.stays) continue;  // a dwell or a return home: no move of the cut's
    if (b.sets) {           // the position is set, nothing moves
      at = {b.x.value_or(at.x), b.y.value_or(at.y)};
      const Status within = check_within(at, limits);
      if (!within) return Error{line_text(n) + within.error().message};
      continue;
    }
    if (b.motion >= 0) motion = b.motion;
    const bool words = b.x || b.y || b.i || b.j;
    if (motion < 0 || !words) continue;
    const Xy to{b.x.value_or(at.x), b.y.value_or(at.y)};
    const Status within = check_within(to, limits);
    if (!within) return Error{line_text(n) + within.error().message};
    if (motion == 0) {
      if (!b.x && !b.y) continue;
      if (!ended && op != Op::none)
        return Error{line_text(n) + "the contour begun on line " + std::to_string(cuts.back().line) +
                     " has no end code (\"" + codes.end.front() + "\") before this rapid move"};
      at = to;
      op = op_after(lines, n, codes);
      if (op != Op::none) {
        NcCut cut;
        cut.line = n + 1;
        cut.marking = op == Op::mark;
        cut.start = cut.contact = to;
        cuts.push_back(cut);
        ended = codes.end.empty();
      }
      continue;
    }
    NcMove move;
    move.from = at;
    move.to = to;
    move.turn = motion == 1 ? 0 : (motion == 3 ? 1 : -1);
    move.centre = {at.x + b.i.value_or(0), at.y + b.j.value_or(0)};
    move.comp = comp;
    move.line = n + 1;
    if (move.turn != 0) {
      const double r0 = distance(move.from, move.centre), r1 = distance(move.to, move.centre);
      if (!(r0 > 0))
        return Error{line_text(n) + "the arc has no radius: I and J put its centre on its start"};
      if (!(std::fabs(r0 - r1) <= limits.radius_tolerance))
        return Error{line_text(n) + "the arc's radius is " + coordinate_text(r0) + " at its start but " +
                     coordinate_text(r1) + " at its end"};
      const Status centre = check_within(move.centre, limits);
      if (!centre) return Error{line_text(n) + "the arc's centre: " + centre.error().message};
    }
    at = to;
    if (op == Op::none || cuts.empty()) continue;
    NcCut& cut = cuts.back();
    if (cut.moves.empty() && !cut.lead_in && move.turn == 0 && b.compensates) {
      cut.lead_in = true;
      cut.lead_comp = comp;
      cut.contact = to;
      cut.lead.push_back(move);
      continue;
    }
    if (cut.moves.empty() && cut.lead_in && cut.lead.size() < limits.lead_in_moves) {
      cut.contact = to;
      cut.lead.push_back(move);
      continue;
    }
    cut.moves.push_back(move);
  }
  if (!ended && op != Op::none)
    return Error{"line " + std::to_string(lines.size()) + ": the contour begun on line " +
                 std::to_string(cuts.back().line) + " has no end code (\"" + codes.end.front() +
                 "\") before the program ends"};
  return cuts;
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
