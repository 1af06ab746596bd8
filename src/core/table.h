// A two-dimensional table of cells, indexed (row, column) from 0. Tables are
// values: assigning one copies it, as the per-layer work relies on.
#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

#include "core/cell.h"

namespace makenc {

class Table {
 public:
  Table() = default;
  // Rows 0..last_row and columns 0..last_col, every cell Empty.
  Table(std::size_t last_row, std::size_t last_col)
      : rows_(last_row + 1), cols_(last_col + 1), cells_(rows_ * cols_) {}

  std::size_t rows() const { return rows_; }
  std::size_t cols() const { return cols_; }
  // The upper row bound n: the spare row that row loops never visit.
  std::size_t last_row() const { return rows_ - 1; }

  Cell& at(std::size_t r, std::size_t c) { return cells_[r * cols_ + c]; }
  const Cell& at(std::size_t r, std::size_t c) const { return cells_[r * cols_ + c]; }

  // Exchanges the cells of two rows.
  void swap_rows(std::size_t a, std::size_t b) {
    const auto row_a = cells_.begin() + static_cast<std::ptrdiff_t>(a * cols_);
    std::swap_ranges(row_a, row_a + static_cast<std::ptrdiff_t>(cols_),
                     cells_.begin() + static_cast<std::ptrdiff_t>(b * cols_));
  }

  // Empties every cell of the rows first .. last - 1.
  void clear_rows(std::size_t first, std::size_t last) {
    if (first >= last) return;
    std::fill(cells_.begin() + static_cast<std::ptrdiff_t>(first * cols_),
              cells_.begin() + static_cast<std::ptrdiff_t>(last * cols_), Cell());
  }

  void copy_row(std::size_t to, const Table& from, std::size_t from_row) {
    for (std::size_t c = 0; c < cols_ && c < from.cols_; ++c) at(to, c) = from.at(from_row, c);
  }

 private:
  std::size_t rows_ = 0;
  std::size_t cols_ = 0;
  std::vector<Cell> cells_;
};

}  // namespace makenc
