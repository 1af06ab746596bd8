// The cutting order when a contour must wait for what lies inside it: the
// same rounds of the four nearest contours, tried in every order, but a
// closed cut contour takes part only once everything inside it is cut. A
// part's holes and markings come before its outline, a part standing in a
// hole (with its holes) before that hole.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace makenc {

struct InnerFirstInput {
  // By record: the approach point, and where the torch stands once the
  // contour is done (the far end of an open chain, else the approach point).
  std::vector<double> apr_x, apr_y, end_x, end_y;
  // By record: the records of the closed cut contours around it, as
  // around[first[k] .. first[k + 1]).
  std::vector<std::size_t> first, around;
  // The record held back to be cut last, or the record count for none.
  std::size_t held = 0;
};

// Every record once, in cutting order; the held-back record last.
std::vector<std::size_t> inner_first_order(const InnerFirstInput& in);

}  // namespace makenc
