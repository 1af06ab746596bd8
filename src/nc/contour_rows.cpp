#include "nc/contour_rows.h"

#include <algorithm>
#include <cmath>

#include "core/constants.h"
#include "nc/contour_moves.h"

namespace makenc {

ContourRows::ContourRows(const Table& table) : table_(table), end_(table.rows() == 0 ? 0 : table.last_row()) {
  bool in_run = false;
  double previous = 0;
  for (std::size_t row = 0; row < end_; ++row) {
    double v = 0;
    const bool finite = cell_as_number(table.at(row, col::contour), v) && std::isfinite(v);
    if (finite && !(in_run && v == previous)) starts_.emplace_back(v, row);
    in_run = finite;
    previous = v;
  }
  std::sort(starts_.begin(), starts_.end());
}

std::optional<std::size_t> ContourRows::first_row(const Cell& id) const {
  double v = 0;
  if (!id.is_empty() && cell_as_number(id, v) && std::isfinite(v)) {
    // A finite number meets only rows that read as the same number: a row
    // whose text is not a number never has the text form of one.
    const auto it = std::lower_bound(starts_.begin(), starts_.end(), std::pair<double, std::size_t>{v, 0},
                                     [](const auto& a, const auto& b) { return a.first < b.first; });
    if (it == starts_.end() || it->first != v) return std::nullopt;
    return it->second;
  }
  // Contour numbers that are texts or not finite meet by the plain rule.
  for (std::size_t row = 0; row < end_; ++row)
    if (same_number(table_.at(row, col::contour), id)) return row;
  return std::nullopt;
}

}  // namespace makenc
