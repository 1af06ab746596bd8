// The flood fill of the surface: four-connected like the platform's, span by
// span with an explicit stack, so a region of any size fills without deep
// recursion.
#include <vector>

#include "raster/surface.h"

namespace makenc {
namespace {

struct Seed {
  int x, y;
};

class SpanFill {
 public:
  SpanFill(Surface& s, Colour border)
      : s_(s), border_(border), done_(static_cast<std::size_t>(s.width()) * s.height(), 0) {}

  void run(int x, int y) {
    stack_.push_back({x, y});
    while (!stack_.empty()) {
      const Seed seed = stack_.back();
      stack_.pop_back();
      if (!open(seed.x, seed.y)) continue;
      int left = seed.x;
      while (open(left - 1, seed.y)) --left;
      int right = seed.x;
      while (open(right + 1, seed.y)) ++right;
      for (int i = left; i <= right; ++i) take(i, seed.y);
      seed_row(left, right, seed.y - 1);
      seed_row(left, right, seed.y + 1);
    }
  }

 private:
  std::size_t index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(s_.width()) +
           static_cast<std::size_t>(x);
  }
  // Inside, not yet filled and not the border. Filled pixels are remembered
  // apart from their colour, so pixels that already have the fill colour do
  // not cut the region.
  bool open(int x, int y) const {
    if (x < 0 || y < 0 || x >= s_.width() || y >= s_.height()) return false;
    return done_[index(x, y)] == 0 && s_.pixels()[index(x, y)] != border_;
  }
  void take(int x, int y) {
    done_[index(x, y)] = 1;
    s_.set_pixel(x, y, s_.fill_colour);
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
  Colour border_;
  std::vector<unsigned char> done_;
  std::vector<Seed> stack_;
};

}  // namespace

void Surface::flood_fill(int x, int y, Colour border) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  if (pixel(x, y) == border) return;
  SpanFill(*this, border).run(x, y);
}

}  // namespace makenc
