// The two sides of a contour as approach placement asks about them: whether a
// point of the drawing stands on a drawn line, lies in material or in scrap,
// and whether a lead-in passes through material, all by exact geometry.
// "On a line" keeps the width a line has on the surface the side is decided
// on (kLineBand pixels of it either side), so that a point that close to a
// line is stepped over as the eye would.
#pragma once

#include <vector>

#include "geometry/drawn_elements.h"
#include "geometry/regions.h"

namespace makenc {

// Half the width of a drawn line, in pixels of the surface the side is
// decided on.
inline constexpr double kLineBand = 0.75;

enum class Ground { line, material, scrap };

class Sides {
 public:
  // `scale`: pixels per drawing unit of the surface the side is decided on.
  Sides(const Regions& regions, const DrawnElements& drawn, const MaterialRegions& material, double scale)
      : regions_(regions), drawn_(drawn), material_(material), scale_(scale), band_(kLineBand / scale) {}

  double scale() const { return scale_; }
  double band() const { return band_; }
  // The diagonal of the drawing's extent.
  double extent() const { return drawn_.extent(); }

  bool on_line(double x, double y) const { return drawn_.within(x, y, band_); }
  // Whether the region of the point is material, line or not.
  bool material(double x, double y) const { return material_.is_material(regions_.region_of(x, y)); }
  Ground ground(double x, double y) const {
    if (on_line(x, y)) return Ground::line;
    return material(x, y) ? Ground::material : Ground::scrap;
  }
  // Whether some stretch of the segment from a (a point of a contour) to b
  // lies in material, the line's width around a left out.
  bool material_between(double ax, double ay, double bx, double by) const;

 private:
  const Regions& regions_;
  const DrawnElements& drawn_;
  const MaterialRegions& material_;
  double scale_, band_;
  mutable std::vector<double> cuts_;
};

}  // namespace makenc
