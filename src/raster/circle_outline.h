// The outline of a circle of whole-pixel radius as one ring of pixels in
// counter-clockwise order on screen, starting at the pixel at angle 0.
//
// Each octant has exactly one pixel per step of its major axis, taken at the
// rounded true position, so the ring is eight-connected and one pixel wide:
// a solid outline seals its inside against a four-connected fill. Any pixel
// of the ring is found from its index without walking the ring, so a huge
// arc that only grazes the surface costs no more than the pixels it shows.
#pragma once

#include <cstdint>

namespace makenc {

struct RingPixel {
  std::int64_t u = 0;  // to the right of the centre
  std::int64_t v = 0;  // above the centre
};

class CircleOutline {
 public:
  explicit CircleOutline(std::int64_t radius);

  // Number of pixels in the ring (1 for radius 0).
  std::int64_t size() const { return radius_ == 0 ? 1 : 4 * last_; }
  RingPixel at(std::int64_t j) const;
  // Angle of ring pixel j in [0, 2π); it never decreases along the ring.
  double angle(std::int64_t j) const;
  // The first index whose angle is at least a, or size() when none is.
  std::int64_t first_at_or_after(double a) const;

  // Calls plot(j, x, y) for every ring pixel around the centre (cx, cy) that
  // lies in the rows 0..height-1 or the columns 0..width-1 along its octant's
  // major axis; the caller drops those still outside on the minor axis.
  template <typename Plot>
  void visit(std::int64_t cx, std::int64_t cy, std::int64_t width, std::int64_t height, Plot&& plot) const;

 private:
  // Rounded height of the circle above column t of the first quadrant.
  std::int64_t rounded_height(std::int64_t t) const;
  // Pixel i of the first quadrant, i = 0 .. last_.
  RingPixel first_quadrant(std::int64_t i) const;

  struct IndexRange {
    std::int64_t first = 0;
    std::int64_t last = -1;
  };
  // The first-quadrant indices of one octant (part 0 near the horizontal
  // axis, part 1 near the vertical) of quadrant q whose major coordinate
  // falls on the surface.
  IndexRange visible(int q, int part, std::int64_t cx, std::int64_t cy, std::int64_t width,
                     std::int64_t height) const;

  std::int64_t radius_;
  std::int64_t diagonal_ = 0;  // last step of the first octant
  // Last index in the first quadrant, which is also the number of ring
  // pixels per quadrant (each quadrant's last pixel is the next one's first).
  std::int64_t last_ = 0;
};

template <typename Plot>
void CircleOutline::visit(std::int64_t cx, std::int64_t cy, std::int64_t width, std::int64_t height,
                          Plot&& plot) const {
  if (radius_ == 0) {
    plot(std::int64_t{0}, cx, cy);
    return;
  }
  for (int q = 0; q < 4; ++q) {
    const bool reversed = (q % 2) == 1;
    const std::int64_t su = (q == 0 || q == 3) ? 1 : -1;
    const std::int64_t sv = q < 2 ? 1 : -1;
    for (int part = 0; part < 2; ++part) {
      const IndexRange range = visible(q, part, cx, cy, width, height);
      for (std::int64_t i = range.first; i <= range.last; ++i) {
        const RingPixel p = first_quadrant(i);
        const std::int64_t j = q * last_ + (reversed ? last_ - i : i);
        plot(j, cx + su * p.u, cy - sv * p.v);
      }
    }
  }
}

}  // namespace makenc
