#include "support/surface_probe.h"

#include <vector>

namespace makenc::test {

bool eight_connected(const Surface& s, Colour c) {
  const int w = s.width();
  const std::vector<Colour> pixels = s.pixels();
  std::vector<char> seen(pixels.size(), 0);
  std::vector<int> stack;
  int total = 0;
  int first = -1;
  for (int i = 0; i < static_cast<int>(pixels.size()); ++i)
    if (pixels[static_cast<std::size_t>(i)] == c) {
      ++total;
      if (first < 0) first = i;
    }
  if (first < 0) return true;
  int reached = 0;
  stack.push_back(first);
  seen[static_cast<std::size_t>(first)] = 1;
  while (!stack.empty()) {
    const int i = stack.back();
    stack.pop_back();
    ++reached;
    const int x = i % w;
    const int y = i / w;
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx) {
        const int nx = x + dx;
        const int ny = y + dy;
        if (nx < 0 || ny < 0 || nx >= w || ny >= s.height()) continue;
        const int j = ny * w + nx;
        if (seen[static_cast<std::size_t>(j)] || pixels[static_cast<std::size_t>(j)] != c) continue;
        seen[static_cast<std::size_t>(j)] = 1;
        stack.push_back(j);
      }
  }
  return reached == total;
}

}  // namespace makenc::test
