// The overcut: a closed cut runs on past its contact point along its own
// path, so that no nib is left where the cut closes.
#pragma once

#include <vector>

#include "nc/contour_moves.h"

namespace makenc {

// The piece of `piece` from its start to `along` (0 < along < its length).
PathPiece piece_part(const PathPiece& piece, double along);

// Appends the moves of `loop` (the contour's feed moves from its contact
// point round to it) again from its start for `length`, at most the whole
// loop. A last part that rounds to no move on the grid is left out.
void put_overcut(ContourWalk& walk, const std::vector<PathPiece>& loop, double length);

}  // namespace makenc
