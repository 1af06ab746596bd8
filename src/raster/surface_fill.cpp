// The flood fill of the surface: four-connected like the platform's, span by
// span with an explicit stack, so a region of any size fills without deep
// recursion.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "raster/shade_scan.h"
#include "raster/surface.h"

namespace makenc {

class SpanFill {
 public:
  SpanFill(Surface& s, Colour border) : s_(s), width_(s.width()), height_(s.height()) {
    bool fill_present = false;
    for (std::size_t i = 0; i < s.palette_.size(); ++i) {
      if (s.palette_[i] == border) {
        border_ = static_cast<Surface::Shade>(i);
        has_border_ = true;
      }
      if (s.palette_[i] == s.fill_colour) fill_present = true;
    }
    fill_ = s.shade_of(s.fill_colour);
    if (!has_border_) border_ = fill_;
    // While no pixel had the fill colour before, a pixel of that colour is
    // one this fill took; otherwise the filled pixels are kept as bits.
    if (fill_present || s.palette_[fill_] != s.fill_colour || (has_border_ && fill_ == border_))
      done_.assign((static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) + 63) / 64, 0);
  }

  void run(int x, int y) {
    if (done_.empty())
      spans<false>(x, y);
    else
      spans<true>(x, y);
  }

 private:
  // A pixel to fill from, and the span of the row it was found beside: that
  // span is filled already, so it is not searched again for open pixels.
  struct Seed {
    int x, y;
    int from_y, from_left, from_right;
  };

  Surface::Shade* row(int y) { return s_.row(y); }
  std::size_t index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
  }

  // What a pixel is to the fill, held apart from the surface: the pixels are
  // bytes, and a store to them would otherwise reload every member.
  struct Test {
    Surface::Shade border, fill;
    bool has_border;
  };

  // Not yet filled and not the border. Filled pixels are remembered apart
  // from their colour when pixels already had the fill colour, so those do
  // not cut the region.
  template <bool kBits>
  bool open(const Test& t, const Surface::Shade* r, int x, int y) const {
    const Surface::Shade v = r[x];
    if (t.has_border && v == t.border) return false;
    if constexpr (kBits) {
      const std::size_t i = index(x, y);
      return ((done_[i / 64] >> (i % 64)) & 1u) == 0;
    } else {
      return v != t.fill;
    }
  }

  template <bool kBits>
  void spans(int x, int y) {
    const Test t{border_, fill_, has_border_};
    // Without the bits a pixel is closed to the fill when it holds the
    // border or the fill colour (with no border on the surface, `border_` is
    // the fill).
    const ShadeScan<2> closed({t.border, t.fill});
    const int width = width_;
    const int height = height_;
    stack_.push_back({x, y, y, 0, -1});
    while (!stack_.empty()) {
      const Seed seed = stack_.back();
      stack_.pop_back();
      Surface::Shade* r = row(seed.y);
      int left = 0;
      int right = 0;
      if constexpr (kBits) {
        if (!open<kBits>(t, r, seed.x, seed.y)) continue;
        left = seed.x;
        while (left > 0 && open<kBits>(t, r, left - 1, seed.y)) --left;
        right = seed.x;
        while (right + 1 < width && open<kBits>(t, r, right + 1, seed.y)) ++right;
        for (int i = left; i <= right; ++i) {
          r[i] = t.fill;
          const std::size_t k = index(i, seed.y);
          done_[k / 64] |= std::uint64_t{1} << (k % 64);
        }
      } else {
        if (closed.holds(r[seed.x])) continue;
        left = closed.last_held(r, seed.x - 1) + 1;
        right = closed.next<true>(r, seed.x + 1, width) - 1;
        std::memset(r + left, t.fill, static_cast<std::size_t>(right - left + 1));
      }
      const Span span{seed.y, left, right};
      if (seed.y > 0) seed_beside<kBits>(t, span, seed, seed.y - 1);
      if (seed.y + 1 < height) seed_beside<kBits>(t, span, seed, seed.y + 1);
    }
  }

  struct Span {
    int y, left, right;
  };

  // Seeds in row y beside the span just filled, leaving out the span the
  // seed was found beside when that lies in row y.
  template <bool kBits>
  void seed_beside(const Test& t, const Span& span, const Seed& seed, int y) {
    if (y != seed.from_y || seed.from_left > seed.from_right) {
      seed_row<kBits>(t, span, span.left, span.right, y);
      return;
    }
    seed_row<kBits>(t, span, span.left, std::min(span.right, seed.from_left - 1), y);
    seed_row<kBits>(t, span, std::max(span.left, seed.from_right + 1), span.right, y);
  }

  // One seed for each run of open pixels in [left, right] of row y.
  template <bool kBits>
  void seed_row(const Test& t, const Span& span, int left, int right, int y) {
    const Surface::Shade* r = row(y);
    if constexpr (kBits) {
      bool in_run = false;
      for (int i = left; i <= right; ++i) {
        const bool o = open<kBits>(t, r, i, y);
        if (o && !in_run) stack_.push_back({i, y, span.y, span.left, span.right});
        in_run = o;
      }
    } else {
      const ShadeScan<2> closed({t.border, t.fill});
      for (int i = closed.next<false>(r, left, right + 1); i <= right;
           i = closed.next<false>(r, i, right + 1)) {
        stack_.push_back({i, y, span.y, span.left, span.right});
        i = closed.next<true>(r, i + 1, right + 1);
      }
    }
  }

  Surface& s_;
  int width_, height_;
  bool has_border_ = false;
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
