// The orders of two, three and four contours that a round of the cut-order
// planning tries, in the order it tries them: among tours of equal length
// the first tried wins.
#pragma once

#include <array>
#include <cstddef>
#include <span>

namespace makenc {

using Order = std::array<std::size_t, 4>;

// Slot numbers (0-based); the slots after the last contour are unused.
inline constexpr std::array<Order, 2> kOrdersOfTwo{{{0, 1, 0, 0}, {1, 0, 0, 0}}};
inline constexpr std::array<Order, 6> kOrdersOfThree{
    {{0, 1, 2, 0}, {1, 0, 2, 0}, {1, 2, 0, 0}, {0, 2, 1, 0}, {2, 0, 1, 0}, {2, 1, 0, 0}}};
inline constexpr std::array<Order, 24> kOrdersOfFour{
    {{0, 1, 2, 3}, {0, 1, 3, 2}, {0, 2, 1, 3}, {0, 2, 3, 1}, {0, 3, 1, 2}, {0, 3, 2, 1},
     {1, 3, 0, 2}, {1, 3, 2, 0}, {1, 2, 3, 0}, {1, 2, 0, 3}, {1, 0, 3, 2}, {1, 0, 2, 3},
     {2, 3, 1, 0}, {2, 3, 0, 1}, {2, 1, 0, 3}, {2, 1, 3, 0}, {2, 0, 1, 3}, {2, 0, 3, 1},
     {3, 2, 1, 0}, {3, 2, 0, 1}, {3, 1, 2, 0}, {3, 1, 0, 2}, {3, 0, 2, 1}, {3, 0, 1, 2}}};

// The orders of n = 2, 3 or 4 slots.
inline std::span<const Order> orders_of(std::size_t n) {
  if (n == 2) return kOrdersOfTwo;
  if (n == 3) return kOrdersOfThree;
  return kOrdersOfFour;
}

}  // namespace makenc
