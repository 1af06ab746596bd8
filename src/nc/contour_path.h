// The blocks of one contour of the cut list: rapid move to the approach
// start, start code, machining condition, lead-in with cutter compensation,
// the moves along the contour in the direction that keeps the kerf on the
// scrap side, the closing move (stopped short where a joint is left) and
// the end code.
#pragma once

#include <cstddef>
#include <vector>

#include "core/error.h"
#include "core/table.h"
#include "nc/contour_moves.h"

namespace makenc {

// Appends the blocks of contour row k of the cut list. A contour whose
// approach element is not among its elements writes nothing. A contour that
// cannot be written correctly (a coordinate that is not a number, an arc
// whose direction cannot be decided, a joint longer than the closing move)
// writes nothing and is an error.
Status put_contour(ToolpathRun& run, const Table& Ord_dat, std::size_t k,
                   const std::vector<ContourElement>& elements, bool Is_outer);

}  // namespace makenc
