// Where each contour starts in its layer table. Chaining leaves the rows of a
// contour consecutive, so the writer needs only the first row of each; a
// sheet of thousands of contours would otherwise cost one pass over the
// layer per contour.
#pragma once

#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

#include "core/cell.h"
#include "core/table.h"

namespace makenc {

class ContourRows {
 public:
  // Indexes column 13 of every row but the spare one.
  explicit ContourRows(const Table& table);

  // The first row whose contour number is the same number as `id`, as a
  // scan from the top would find it; nothing when no row has it.
  std::optional<std::size_t> first_row(const Cell& id) const;

 private:
  const Table& table_;
  std::size_t end_ = 0;  // the spare row
  // (number, row) of every row that starts a run of one finite contour
  // number, sorted: the first row of a number is the first of its entries.
  std::vector<std::pair<double, std::size_t>> starts_;
};

}  // namespace makenc
