#include "support/nc_path.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "core/constants.h"

namespace makenc::test {
namespace {

constexpr double kTurn = 2 * kPi;

// The words of one block that move the tool or say how.
struct Block {
  std::vector<int> g;
  std::optional<double> x, y, i, j;
  bool has(int code) const {
    for (int c : g)
      if (c == code) return true;
    return false;
  }
};

Block read_block(const std::string& line) {
  Block b;
  std::size_t k = 0;
  while (k < line.size()) {
    const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(line[k])));
    if (c == '(') {  // a comment up to its closing bracket
      const std::size_t close = line.find(')', k);
      k = close == std::string::npos ? line.size() : close + 1;
      continue;
    }
    if (!std::isalpha(static_cast<unsigned char>(c))) {
      ++k;
      continue;
    }
    const char* begin = line.c_str() + k + 1;
    char* end = nullptr;
    const double v = std::strtod(begin, &end);
    const std::size_t used = static_cast<std::size_t>(end - begin);
    k += 1 + used;
    if (used == 0) continue;
    switch (c) {
      case 'G': b.g.push_back(static_cast<int>(std::lround(v))); break;
      case 'X': b.x = v; break;
      case 'Y': b.y = v; break;
      case 'I': b.i = v; break;
      case 'J': b.j = v; break;
      default: break;
    }
  }
  return b;
}

bool starts_with(const std::vector<std::string>& lines, std::size_t at,
                 const std::vector<std::string>& head) {
  if (at + head.size() > lines.size()) return false;
  for (std::size_t k = 0; k < head.size(); ++k)
    if (lines[at + k] != head[k]) return false;
  return true;
}

enum class Op { none, cut, mark };

// What the lines after a rapid at line `at` start: cutting, marking, or
// neither.
Op op_after(const std::vector<std::string>& lines, std::size_t at, const StartCodes& codes) {
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

std::vector<NcCut> read_nc_cuts(const std::vector<std::string>& lines, const StartCodes& codes) {
  std::vector<NcCut> cuts;
  Xy at{0, 0};
  int motion = -1;  // no motion mode until a block gives one
  int comp = 40;
  Op op = Op::none;
  for (std::size_t n = 0; n < lines.size(); ++n) {
    const Block b = read_block(lines[n]);
    for (int c : b.g)
      if (c == 40 || c == 41 || c == 42) comp = c;
    if (b.has(4) || b.has(28)) continue;  // a dwell or a return home: no move of the cut's
    if (b.has(92)) {                      // the position is set, nothing moves
      at = {b.x.value_or(at.x), b.y.value_or(at.y)};
      continue;
    }
    for (int c : b.g)
      if (c >= 0 && c <= 3) motion = c;
    const bool words = b.x || b.y || b.i || b.j;
    if (motion < 0 || !words) continue;
    const Xy to{b.x.value_or(at.x), b.y.value_or(at.y)};
    if (motion == 0) {
      at = to;
      if (!b.x && !b.y) continue;
      op = op_after(lines, n, codes);
      if (op != Op::none) {
        NcCut cut;
        cut.line = n + 1;
        cut.marking = op == Op::mark;
        cut.start = cut.contact = to;
        cuts.push_back(cut);
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
    at = to;
    if (op == Op::none || cuts.empty()) continue;
    NcCut& cut = cuts.back();
    if (cut.moves.empty() && !cut.lead_in && move.turn == 0 && (b.has(41) || b.has(42))) {
      cut.lead_in = true;
      cut.lead_comp = comp;
      cut.contact = to;
      continue;
    }
    cut.moves.push_back(move);
  }
  return cuts;
}

}  // namespace makenc::test
