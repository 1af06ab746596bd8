// Where the elements of one layer meet more than two at a time: lines,
// arcs or circles drawn twice (the same kind, the ends in either order and
// the centre within the matching tolerance, the same radius within it),
// and points where three or more ends of lines and arcs meet. Chaining
// leaves the copies out and follows the boundary of each region there.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/table.h"
#include "import/chain.h"
#include "import/end_index.h"

namespace makenc {

struct Coincidences {
  // Per row: the rows it coincides with, as a ring of next rows (itself
  // when it coincides with none), and the lowest of them.
  std::vector<std::size_t> next_twin;
  std::vector<std::size_t> first_twin;
  bool any_twins = false;
  // Some point where three or more ends of lines and arcs meet.
  bool ends_crowd = false;
};

// The rows of `t` for which `takes_part` holds are compared; `index` holds
// the ends of its lines and arcs, `bands` the band around each of them.
Coincidences find_coincidences(const Table& t, const std::vector<char>& takes_part, const EndIndex& index,
                               const std::vector<std::array<EndBand, 2>>& bands, double tolerance,
                               std::int16_t S);

}  // namespace makenc
