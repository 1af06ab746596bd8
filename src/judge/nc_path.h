// An NC program read back as the machine runs it: the tool's moves, with
// modal coordinates, arcs about start + (I, J) and cutter compensation, cut
// into one piece per contour. A contour begins with a rapid ("G00" with X or
// Y); the start code that follows says whether it is cut or marked; a first
// straight feed carrying G41 or G42 is its lead-in; the end code closes it.
//
// What the reader cannot follow is refused, naming the line: a word that is
// no word of these programs, a number it cannot read, incremental
// coordinates, an arc whose start and end lie at different radii from its
// centre, a coordinate far beyond the drawing, a contour without its end
// code.
#pragma once

#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"
#include "geometry/drawing_geometry.h"

namespace makenc {

// 56 bytes: a program of a large sheet holds hundreds of thousands.
struct NcMove {
  Xy from, to, centre;
  std::uint32_t line = 0;  // in the file, from 1 (a file of kMostNcBytes has fewer lines)
  std::int8_t turn = 0;    // 0 straight, +1 counter-clockwise (G03), -1 clockwise (G02)
  std::uint8_t comp = 40;  // the cutter compensation in force: 40, 41 (kerf left) or 42 (right)

  double sweep() const;  // radians, signed; a whole turn when an arc ends where it starts
  double length() const;
  Xy at(double t) const;       // t from 0 at `from` to 1 at `to`
  Xy heading(double t) const;  // the unit direction of travel there
};
static_assert(sizeof(NcMove) <= 56);

// The moves of a lead-in, NcLimits::lead_in_moves of them at most, kept in
// the cut itself.
class LeadMoves {
 public:
  static constexpr std::size_t kMost = 2;
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  const NcMove& operator[](std::size_t k) const { return moves_[k]; }
  NcMove& operator[](std::size_t k) { return moves_[k]; }
  const NcMove* begin() const { return moves_.data(); }
  const NcMove* end() const { return moves_.data() + size_; }
  void push_back(const NcMove& move) {
    assert(size_ < kMost);
    moves_[size_++] = move;
  }

 private:
  std::array<NcMove, kMost> moves_;
  std::size_t size_ = 0;
};

struct NcCut {
  std::size_t line = 0;  // of the rapid
  Xy start;              // where the rapid ends: where a cut pierces
  Xy contact;            // the end of the lead-in; the start when there is none
  int lead_comp = 40;
  bool marking = false;
  bool lead_in = false;
  LeadMoves lead;             // the lead-in's moves
  std::vector<NcMove> moves;  // after the lead-in
};

// The codes of the host folder as sent: the start codes and the end code
// (each template up to its first empty line), the marking condition (line 7
// of set.ini), which tells the start codes apart when the templates do not,
// and every line of the templates and condition codes, taken as they are
// wherever they stand.
struct StartCodes {
  std::vector<std::string> cut, mark, end;
  std::string mark_condition;
  std::vector<std::string> template_lines;
};

// How far the reader follows a program: the room around the drawing's box
// a coordinate may lie in, and how far an arc's two radii may differ.
struct NcLimits {
  double min_x = -1e9, min_y = -1e9, max_x = 1e9, max_y = 1e9;
  double radius_tolerance = 0.01;
  // The feed moves a lead-in is made of: 2 with arc lead-ins (a straight
  // move, then the arc or the rest of the straight lead-in), and no more
  // than LeadMoves::kMost.
  std::size_t lead_in_moves = 1;
};

// The contours of the program in its order; rapids followed by neither
// start code (the return home of the footer) are no contour. The error
// names the line ("line 12: …"). The program is its lines, or its whole
// text, split where line_views splits it.
Result<std::vector<NcCut>> read_nc_cuts(std::string_view text, const StartCodes& codes,
                                        const NcLimits& limits = {});
Result<std::vector<NcCut>> read_nc_cuts(std::span<const std::string_view> lines, const StartCodes& codes,
                                        const NcLimits& limits = {});
Result<std::vector<NcCut>> read_nc_cuts(const std::vector<std::string>& lines, const StartCodes& codes,
                                        const NcLimits& limits = {});

// The largest program read: a file beyond it is refused unread.
inline constexpr std::uintmax_t kMostNcBytes = 256ull << 20;

// The lines of a program file, refusing a file that is empty, larger than
// kMostNcBytes or not text (a control byte other than TAB, CR and LF). The
// error names the file and, for a byte, the line and the column.
Result<std::vector<std::string>> read_nc_file(const std::filesystem::path& file);
// The same program as one text, its lines to be viewed in place.
Result<std::string> read_nc_text(const std::filesystem::path& file);

}  // namespace makenc
