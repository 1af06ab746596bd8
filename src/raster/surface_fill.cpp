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
    closed_ = ShadeScan<2>({border_, fill_});
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
  // A run of pixels to fill from, open when it was found: the pixels just
  // outside it were closed then unless it was cut at the ends of the span
  // beside it. A region fills whole maximal runs at a time, so the run is
  // still wholly open or wholly filled when it is taken. The span of the
  // row it was found beside is filled already and is not searched again.
  struct Seed {
    int y, left, right;
    int from_y, from_left, from_right;
  };
  struct Span {
    int y, left, right;
  };

  std::size_t index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
  }

  // Not yet filled and not the border. Filled pixels are remembered apart
  // from their colour when pixels already had the fill colour, so those do
  // not cut the region; otherwise a pixel of the fill colour is filled.
  template <bool kBits>
  bool open(int x, int y) const {
    const Surface::Shade v = s_.shade_at(x, y);
    if (has_border_ && v == border_) return false;
    if constexpr (kBits) {
      const std::size_t i = index(x, y);
      return ((done_[i / 64] >> (i % 64)) & 1u) == 0;
    } else {
      return v != fill_;
    }
  }

  // The span of open pixels through the seed's run, filled; false when the
  // run is filled already.
  template <bool kBits>
  bool fill_span(const Seed& seed, Span& span) {
    if (!open<kBits>(seed.left, seed.y)) return false;
    int left = seed.left;
    int right = seed.right;
    if constexpr (kBits) {
      while (left > 0 && open<kBits>(left - 1, seed.y)) --left;
      while (right + 1 < width_ && open<kBits>(right + 1, seed.y)) ++right;
      for (int i = left; i <= right; ++i) {
        const std::size_t k = index(i, seed.y);
        done_[k / 64] |= std::uint64_t{1} << (k % 64);
      }
    } else {
      const std::uint8_t* r = s_.packed_row(seed.y);
      left = closed_.last_held(r, left - 1) + 1;
      right = closed_.next<true>(r, right + 1, width_) - 1;
    }
    s_.put_shades(seed.y, left, right, fill_);
    span = {seed.y, left, right};
    return true;
  }

  template <bool kBits>
  void spans(int x, int y) {
    stack_.push_back({y, x, x, y, 0, -1});
    while (!stack_.empty()) {
      const Seed seed = stack_.back();
      stack_.pop_back();
      Span span;
      if (!fill_span<kBits>(seed, span)) continue;
      if (seed.y > 0) seed_beside<kBits>(span, seed, seed.y - 1);
      if (seed.y + 1 < height_) seed_beside<kBits>(span, seed, seed.y + 1);
    }
  }

  // Seeds in row y beside the span just filled, leaving out the span the
  // seed was found beside when that lies in row y.
  template <bool kBits>
  void seed_beside(const Span& span, const Seed& seed, int y) {
    if (y != seed.from_y || seed.from_left > seed.from_right) {
      seed_row<kBits>(span, span.left, span.right, y);
      return;
    }
    seed_row<kBits>(span, span.left, std::min(span.right, seed.from_left - 1), y);
    seed_row<kBits>(span, std::max(span.left, seed.from_right + 1), span.right, y);
  }

  // One seed for each run of open pixels in [left, right] of row y.
  template <bool kBits>
  void seed_row(const Span& span, int left, int right, int y) {
    if constexpr (kBits) {
      bool in_run = false;
      for (int i = left; i <= right; ++i) {
        const bool o = open<kBits>(i, y);
        if (o && !in_run) stack_.push_back({y, i, i, span.y, span.left, span.right});
        in_run = o;
      }
    } else {
      const std::uint8_t* r = s_.packed_row(y);
      for (int i = closed_.next<false>(r, left, right + 1); i <= right;
           i = closed_.next<false>(r, i, right + 1)) {
        const int end = closed_.next<true>(r, i + 1, right + 1);
        stack_.push_back({y, i, end - 1, span.y, span.left, span.right});
        i = end;
      }
    }
  }

  Surface& s_;
  int width_, height_;
  bool has_border_ = false;
  Surface::Shade border_ = 0;
  Surface::Shade fill_ = 0;
  // Without the bits a pixel is closed to the fill when it holds the border
  // or the fill colour (with no border on the surface, `border_` is the fill).
  ShadeScan<2> closed_{{0, 0}};
  std::vector<std::uint64_t> done_;
  std::vector<Seed> stack_;
};

void Surface::flood_fill(int x, int y, Colour border) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  if (pixel(x, y) == border) return;
  SpanFill(*this, border).run(x, y);
}

}  // namespace makenc
