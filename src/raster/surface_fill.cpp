// The flood fill of the surface: four-connected like the platform's, span by
// span with an explicit stack, so a region of any size fills without deep
// recursion.
#include <cstdint>
#include <vector>

#include "raster/surface.h"

namespace makenc {

class SpanFill {
 public:
  SpanFill(Surface& s, Colour border)
      : s_(s),
        width_(s.width()),
        height_(s.height()),
        has_border_(false),
        done_((static_cast<std::size_t>(s.width()) * static_cast<std::size_t>(s.height()) + 63) / 64, 0) {
    for (std::size_t i = 0; i < s.palette_.size(); ++i)
      if (s.palette_[i] == border) {
        border_ = static_cast<Surface::Shade>(i);
        has_border_ = true;
      }
    fill_ = s.shade_of(s.fill_colour);
  }

  void run(int x, int y) {
    stack_.push_back({x, y});
    while (!stack_.empty()) {
      const Seed seed = stack_.back();
      stack_.pop_back();
      if (!open(seed.x, seed.y)) continue;
      int left = seed.x;
      while (left > 0 && open(left - 1, seed.y)) --left;
      int right = seed.x;
      while (right + 1 < width_ && open(right + 1, seed.y)) ++right;
      for (int i = left; i <= right; ++i) take(index(i, seed.y));
      if (seed.y > 0) seed_row(left, right, seed.y - 1);
      if (seed.y + 1 < height_) seed_row(left, right, seed.y + 1);
    }
  }

 private:
  struct Seed {
    int x, y;
  };

  std::size_t index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
  }
  // Inside, not yet filled and not the border. Filled pixels are remembered
  // apart from their colour, so pixels that already have the fill colour do
  // not cut the region.
  bool open(int x, int y) const {
    const std::size_t i = index(x, y);
    if ((done_[i / 64] >> (i % 64)) & 1u) return false;
    return !has_border_ || s_.shades_[i] != border_;
  }
  void take(std::size_t i) {
    done_[i / 64] |= std::uint64_t{1} << (i % 64);
    s_.shades_[i] = fill_;
  }
  // One seed for each run of open pixels next to the filled span.
  void seed_row(int left, int right, int y) {
    bool in_run = false;
    for (int i = left; i <= right; ++i) {
      const bool o = open(i, y);
      if (o && !in_run) stack_.push_back({i, y});
      in_run = o;
    }
  }

  Surface& s_;
  int width_, height_;
  bool has_border_;
  Surface::Shade border_ = 0;
  Surface::Shade fill_ = 0;
  std::vector<std::uint64_t> done_;
  std::vector<Seed> stack_;
};

void Surface::flood_fill(int x, int y, Colour border) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  if (pixel(x, y) == border) return;
  SpanFill(*this, border).run(x, y);
}

}  // namespace makenc
