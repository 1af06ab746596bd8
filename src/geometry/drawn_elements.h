// Every line, arc and circle of the ticked layers, indexed by where it lies,
// so that a lead-in can be tested against what it would run through: a
// lead-in that crosses a neighbouring hole or part cuts a notch into it.
#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/drawing.h"
#include "geometry/element_shape.h"

namespace makenc {

class DrawnElements {
 public:
  DrawnElements() = default;
  DrawnElements(const Drawing& drawing, const LayerTicks& ticked);

  // Whether the straight lead-in from p to its contact point c meets a drawn
  // element anywhere but at c: another contour, or its own before c.
  bool lead_in_meets(double px, double py, double cx, double cy) const;

  // Whether a drawn element passes within `band` of the point: the point
  // stands on a drawn line.
  bool within(double x, double y, double band) const;

  // Whether an element other than rows [first, end) of the layer passes
  // within `band` of the point: another contour runs through it.
  bool other_within(double x, double y, double band, int layer, std::size_t first, std::size_t end) const;

  // The diagonal of the drawing's extent; 0 for an empty drawing.
  double extent() const {
    return start_.empty() ? 0 : std::hypot(static_cast<double>(nx_) * h_, static_cast<double>(ny_) * h_);
  }

 private:
  struct Range {
    std::int64_t x_lo, x_hi, y_lo, y_hi;
  };
  Range cells_of(double left, double right, double low, double high) const;
  template <class Skip>
  bool within_except(double x, double y, double band, Skip&& skip) const;
  bool clip(double px, double py, double cx, double cy, double& t0, double& t1) const;

  static constexpr std::uint32_t kNoElement = UINT32_MAX;
  std::vector<ElementShape> elements_;
  // The element each row of a ticked layer's table is, or kNoElement.
  std::array<std::vector<std::uint32_t>, kLayerCount> element_of_row_;
  double x0_ = 0, y0_ = 0, h_ = 1;
  std::int64_t nx_ = 0, ny_ = 0;
  // Cell c holds the elements items_[start_[c] .. start_[c + 1]).
  std::vector<std::size_t> start_;
  std::vector<std::uint32_t> items_;
  // Which elements a query has tested already.
  mutable std::vector<std::uint32_t> seen_;
  mutable std::uint32_t stamp_ = 0;
};

}  // namespace makenc
