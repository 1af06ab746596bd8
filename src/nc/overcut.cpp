#include "nc/overcut.h"

#include <algorithm>
#include <cmath>

namespace makenc {

namespace {

bool whole_circle(const PathPiece& p) {
  return p.word != ArcWord::none && p.from.x == p.to.x && p.from.y == p.to.y;
}

void put_piece(ContourWalk& walk, const PathPiece& p) {
  NcBlocks& blocks = walk.run.blocks;
  if (p.word == ArcWord::none) {
    open_block(blocks, "G01");
    put_xy(walk, p.to);
    close_block(blocks);
    travel_line(walk.run.travel, p.to, false);
    return;
  }
  open_block(blocks, arc_word_text(p.word));
  // Without X and Y words: the whole circle.
  if (!whole_circle(p)) put_xy(walk, p.to);
  put_ij(walk, p.centre.x - p.from.x, p.centre.y - p.from.y);
  close_block(blocks);
  travel_arc(walk.run.travel, p.word, p.centre, p.to);
}

bool same_on_grid(Point a, Point b, std::int16_t S) {
  return round_to_grid(a.x, S) == round_to_grid(b.x, S) && round_to_grid(a.y, S) == round_to_grid(b.y, S);
}

}  // namespace

PathPiece piece_part(const PathPiece& piece, double along) {
  PathPiece part = piece;
  if (piece.word == ArcWord::none) {
    const double t = along / piece.length();
    part.to = {piece.from.x + (piece.to.x - piece.from.x) * t,
               piece.from.y + (piece.to.y - piece.from.y) * t};
    return part;
  }
  const double r = std::hypot(piece.from.x - piece.centre.x, piece.from.y - piece.centre.y);
  const double turn = (piece.word == ArcWord::G03 ? 1 : -1) * along / r;
  const double a = std::atan2(piece.from.y - piece.centre.y, piece.from.x - piece.centre.x) + turn;
  part.to = {piece.centre.x + r * std::cos(a), piece.centre.y + r * std::sin(a)};
  return part;
}

void put_overcut(ContourWalk& walk, const std::vector<PathPiece>& loop, double length) {
  double total = 0;
  for (const PathPiece& p : loop) total += p.length();
  double left = std::min(length, total);
  const std::int16_t S = walk.run.settings.ini_S_suu;
  for (const PathPiece& p : loop) {
    if (!(left > 0)) return;
    const double len = p.length();
    if (len <= left) {
      put_piece(walk, p);
      left -= len;
      continue;
    }
    const PathPiece part = piece_part(p, left);
    // An arc whose ends meet on the grid would be cut as a whole circle.
    if (!same_on_grid(part.from, part.to, S)) put_piece(walk, part);
    return;
  }
}

}  // namespace makenc
