// Which contours lie inside which. Cutting a closed contour frees what it
// encloses: a part drops out of the sheet, a slug out of a hole. Whatever
// lies inside it (the part's holes and markings, a part standing in a
// hole) must be cut first.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "assign/assignment.h"
#include "geometry/regions.h"

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

// A record is inside a closed cut contour that bounds a region (a "loop" or
// "circle" cut, every element a cutting line) when a point of its own
// contour is: the contact point of a loop or circle, the start of an open
// chain, the point itself, as the regions of the ticked layers tell.
Enclosures find_enclosures(const Assignment& assignment, const Regions& regions);

}  // namespace makenc
