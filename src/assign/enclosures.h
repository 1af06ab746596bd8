// Which contours lie inside which. Cutting a closed contour frees what it
// encloses: a part drops out of the sheet, a slug out of a hole. Whatever
// lies inside it (the part's holes and markings, a part standing in a
// hole) must be cut first.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "assign/assignment.h"
#include "core/drawing.h"
#include "geometry/drawn_elements.h"

namespace makenc {

struct Enclosures {
  // For row k of Apr_dat, the rows of the closed cut contours around its
  // contour: around_[first_[k] .. first_[k + 1]).
  std::vector<std::size_t> first_;
  std::vector<std::size_t> around_;

  std::span<const std::size_t> around(std::size_t k) const {
    if (k + 1 >= first_.size()) return {};
    return {around_.data() + first_[k], first_[k + 1] - first_[k]};
  }
  bool any() const { return !around_.empty(); }
};

// A record is inside a closed cut contour ("loop" or "circle", operation
// "cut") when a point of its own contour is: the contact point of a loop or
// circle, the start of an open chain, the point itself. Each contour is
// tested exactly (even-odd) against the contours whose extent holds the
// point. The shapes are those of `drawn`, which holds the ticked layers.
Enclosures find_enclosures(const Drawing& drawing, const Assignment& assignment, const DrawnElements& drawn);

}  // namespace makenc
