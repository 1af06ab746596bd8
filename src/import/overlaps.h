// Elements of one layer that lie over each other only in part: two lines on
// one line whose stretches overlap, two arcs of one circle whose sweeps do,
// neither a copy of the other. They are cut as drawn; the run names how
// many there are, so that the shop can look at the drawing.
#pragma once

#include <cstddef>

#include "core/table.h"

namespace makenc {

// How many lines and arcs of a chained layer table overlap another in part
// by more than the matching tolerance (rows that joined no contour are left
// out).
std::size_t count_partial_overlaps(const Table& t, double tolerance);

}  // namespace makenc
