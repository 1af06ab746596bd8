// The regions of a drawing, by exact geometry: the closed cutting contours of
// the ticked layers (circles and chains that close, every element of colour
// code "2") bound them, and a point's region is the set of those contours
// that enclose it. Which side of a contour is scrap, what a lead-in passes
// through, and what the preview paints grey are all asked here, in drawing
// units, so that a web however thin and an approach however fine are seen
// as the drawing has them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#include "core/drawing.h"
#include "core/settings.h"

namespace makenc {

// The contours around a point, as sorted indices into Regions::contours():
// empty for the outside of the drawing.
using RegionKey = std::vector<std::uint32_t>;

inline constexpr std::uint32_t kNoContour = std::numeric_limits<std::uint32_t>::max();

// Where a row of the scan of a picture crosses a contour.
struct RowCrossing {
  double x = 0;
  std::uint32_t contour = 0;
};

class Regions {
 public:
  struct Contour {
    int layer = 0;
    std::size_t first = 0, end = 0;  // rows of the layer table
    double left = 0, right = 0, low = 0, high = 0;
    std::uint32_t first_edge = 0, end_edge = 0;  // into edges_
  };

  Regions() = default;
  Regions(const Drawing& drawing, const LayerTicks& ticked, const Settings& settings);

  const std::vector<Contour>& contours() const { return contours_; }
  // The outline as placement finds it (the first cut contour touching the
  // lower or left edge), when it is one of the contours; else kNoContour.
  std::uint32_t outline() const { return outline_; }

  RegionKey region_of(double x, double y) const;
  // Whether the closed contour encloses the point.
  bool encloses(std::uint32_t contour, double x, double y) const;

  // The fractions t in (0, 1) of the way from a to b where the segment
  // meets a contour, ascending; a segment that only touches one counts.
  void crossings(double ax, double ay, double bx, double by, std::vector<double>& out) const;

  // The lowest point of a contour above y; infinity when none is.
  double lowest_above(double y) const;

  // Every crossing of the horizontal line at y, unsorted.
  void row_crossings(double y, std::vector<RowCrossing>& out) const;

 private:
  // A piece of a contour that is monotone in y: a line, or an arc of a
  // circle within one half (left or right of its centre).
  struct Edge {
    double ax = 0, ay = 0, bx = 0, by = 0;
    double cx = 0, cy = 0, r = 0;
    bool round = false, right_half = false;
    double low() const { return ay < by ? ay : by; }
    double high() const { return ay < by ? by : ay; }
    double left() const;
    double right() const;
    double x_at(double y) const;
  };

  void add_contour(const Table& t, int layer, std::size_t first, std::size_t end);
  void add_round(double cx, double cy, double r, double from, double to, double sx, double sy, double ex,
                 double ey);
  void add_edge(Edge e);
  void build_index();
  bool crosses_right(const Edge& e, double x, double y) const;
  std::int64_t cell(double v, double origin, std::int64_t n) const;

  std::vector<Contour> contours_;
  std::vector<Edge> edges_;
  std::uint32_t outline_ = kNoContour;
  // A grid over the contours' extents: cell c holds the contours whose
  // extent meets it, items_[start_[c] .. start_[c + 1]).
  double x0_ = 0, y0_ = 0, h_ = 1;
  std::int64_t nx_ = 0, ny_ = 0;
  std::vector<std::size_t> start_;
  std::vector<std::uint32_t> items_;
  // The contours whose extent in y meets each row of cells:
  // band_items_[band_start_[y] .. band_start_[y + 1]).
  std::vector<std::size_t> band_start_;
  std::vector<std::uint32_t> band_items_;
  std::vector<double> lows_;  // the contours' lowest points, ascending
};

// Which regions are material: those found or clicked (by key), and with
// "全部品を材料" every region inside an odd number of the contours, the
// sheet's edge not counted when it is one.
struct MaterialRegions {
  bool odd_depth = false;
  std::uint32_t uncounted = kNoContour;
  std::vector<RegionKey> keys;  // sorted

  bool is_material(const RegionKey& key) const;
  void add(RegionKey key);
  void clear() { *this = MaterialRegions{}; }
};

}  // namespace makenc
