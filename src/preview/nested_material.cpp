#include "preview/nested_material.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "core/constants.h"
#include "geometry/element_shape.h"
#include "import/chain.h"

namespace makenc {
namespace {

// An even region deeper than the outside is marked with a value the preview
// never draws until every region has its colour, then given the background
// colour: unmarked background pixels are the regions still to colour.
constexpr Colour kEvenMark = 0x01000000 | kBackground;
// The seed's ray runs this fraction of a pixel above the pixel's centre, so
// that it passes through no end point of a drawing written on a decimal grid.
constexpr double kRayLift = 0.1234567;
// Seeds are taken first where no bound lies within this many pixels:
// a drawn line may stray a pixel from the true one, so a seed next to it
// could lie across the line in the drawing. Regions too thin for that take
// a seed nearer the lines.
constexpr int kSeedClearance = 2;

// One element of a counted contour, as a ray meets it.
struct Element {
  ElementShape shape;
  std::uint32_t contour = 0;  // index among the counted contours
};

// The rows [first, end) of one chained contour of a layer table.
struct Group {
  std::size_t first = 0, end = 0;
};

enum class GroupKind { none, closed, point, open };

// What placement makes of the contour: a circle or a loop that closes is
// closed; a point; a chain that does not close is open.
GroupKind group_kind(const Table& t, Group g, const Settings& settings) {
  const Cell& kind = t.at(g.first, col::kind);
  if (kind == "ci") return GroupKind::closed;
  std::size_t longest = g.first;
  double len_max = t.at(g.first, col::length).number();
  for (std::size_t r = g.first; r < g.end; ++r) {
    const double len = t.at(r, col::length).number();
    if (len >= len_max) {
      len_max = len;
      longest = r;
    }
  }
  const Cell& longest_kind = t.at(longest, col::kind);
  const bool closed = !(kind == "pt") && contour_closes(t, g.first, g.end - 1, settings);
  if ((longest_kind == "cci" || longest_kind == "li") && closed) return GroupKind::closed;
  if (longest_kind == "pt") return GroupKind::point;
  if (!closed && !(kind == "pt")) return GroupKind::open;
  return GroupKind::none;
}

// Whether placement cuts the contour: a closed one of colour code "2", an
// open one on ly0 of any code but "8"; points are marked.
bool is_cut(const Table& t, Group g, GroupKind kind, int layer) {
  const Cell& colour = t.at(g.first, col::colour);
  if (kind == GroupKind::closed) return colour == "2";
  if (kind == GroupKind::open) return layer == 0 && !(colour == "8");
  return false;
}

bool touches_lower_left(const Table& t, Group g) {
  for (std::size_t r = g.first; r < g.end; ++r)
    if (t.at(r, col::outline) == "G") return true;
  return false;
}

// The contours of a table as placement meets them: each starts at an
// element with position 1 and runs while the contour number stays.
std::vector<Group> groups_of(const Table& t) {
  std::vector<Group> groups;
  if (t.rows() == 0 || t.cols() <= static_cast<std::size_t>(col::outline)) return groups;
  const std::size_t last = t.last_row();
  for (std::size_t i = 0; i < last;) {
    std::size_t j = i + 1;
    while (j < last && compare(t.at(j, col::contour), t.at(i, col::contour)) == 0) ++j;
    if (t.at(i, col::position).number() == 1 && !t.at(i, col::contour).is_blank()) groups.push_back({i, j});
    i = j;
  }
  return groups;
}

void add_elements(const Table& t, Group g, std::uint32_t contour, std::vector<Element>& out) {
  for (std::size_t r = g.first; r < g.end; ++r)
    if (const auto shape = element_shape(t, r)) out.push_back({*shape, contour});
}

// The elements of every counted contour of the ticked layers, and how many
// contours they belong to.
std::vector<Element> counted_elements(const Drawing& drawing, const LayerTicks& ticked,
                                      const Settings& settings, NestedSheet sheet, std::uint32_t& contours) {
  std::vector<Element> elements;
  contours = 0;
  // The outline is the first contour touching the lower or left edge that
  // is cut, as placement finds it; only a closed one is left uncounted.
  bool outline_found = !sheet.outline_is_edge;
  for (int k = 0; k < kLayerCount; ++k) {
    if (!ticked[static_cast<std::size_t>(k)] || !drawing.has_layer(k)) continue;
    const Table& t = drawing.layer(k);
    for (const Group g : groups_of(t)) {
      const GroupKind kind = group_kind(t, g, settings);
      const bool cut = is_cut(t, g, kind, k);
      if (!outline_found && cut && touches_lower_left(t, g)) {
        outline_found = true;
        continue;
      }
      if (kind != GroupKind::closed || !cut) continue;
      add_elements(t, g, contours++, elements);
    }
  }
  return elements;
}

// The nesting depth of points asked for from the top of the drawing down:
// only the elements whose extent in y holds the ray's height are looked at.
class DepthSweep {
 public:
  DepthSweep(std::vector<Element> elements, std::uint32_t contours)
      : elements_(std::move(elements)), odd_(contours, 0) {
    std::sort(elements_.begin(), elements_.end(),
              [](const Element& a, const Element& b) { return a.shape.high > b.shape.high; });
  }

  // Heights must not rise between restarts.
  void restart() {
    next_ = 0;
    active_.clear();
  }

  int depth(double x, double y) {
    while (next_ < elements_.size() && elements_[next_].shape.high >= y) active_.push_back(next_++);
    std::size_t keep = 0;
    for (const std::size_t i : active_) {
      const Element& e = elements_[i];
      if (e.shape.low > y) continue;  // wholly above: no later ray meets it
      active_[keep++] = i;
      if (ray_crossings(e.shape, x, y) % 2 == 0) continue;
      if (odd_[e.contour] == 0) touched_.push_back(e.contour);
      odd_[e.contour] ^= 1;
    }
    active_.resize(keep);
    int depth = 0;
    for (const std::uint32_t c : touched_) {
      depth += odd_[c];
      odd_[c] = 0;
    }
    touched_.clear();
    return depth;
  }

 private:
  std::vector<Element> elements_;
  std::size_t next_ = 0;
  std::vector<std::size_t> active_;
  std::vector<std::uint8_t> odd_;
  std::vector<std::uint32_t> touched_;
};

// What bounds a region: the lines, and the point rings, which are drawn over
// the lines and would otherwise open a gap in them.
bool bounds_region(Colour c) { return c == kBlack || c == kPointRed; }

// A four-connected fill over every pixel that is neither a bound nor
// coloured by this map yet, span by span; the colours it leaves bound it, so
// it needs no memory of its own for the pixels it took.
class RegionFill {
 public:
  explicit RegionFill(Surface& s) : s_(s) {}

  void run(int x, int y, Colour colour) {
    stack_.push_back({x, y});
    while (!stack_.empty()) {
      const auto [sx, sy] = stack_.back();
      stack_.pop_back();
      if (!open(sx, sy)) continue;
      int left = sx;
      while (open(left - 1, sy)) --left;
      int right = sx;
      while (open(right + 1, sy)) ++right;
      for (int i = left; i <= right; ++i) s_.set_pixel(i, sy, colour);
      seed_row(left, right, sy - 1);
      seed_row(left, right, sy + 1);
    }
  }

 private:
  bool open(int x, int y) const {
    if (x < 0 || y < 0 || x >= s_.width() || y >= s_.height()) return false;
    const Colour c = s_.at(x, y);
    return !bounds_region(c) && c != kMaterialGrey && c != kOutsideBlue && c != kEvenMark;
  }
  void seed_row(int left, int right, int y) {
    bool in_run = false;
    for (int i = left; i <= right; ++i) {
      const bool o = open(i, y);
      if (o && !in_run) stack_.push_back({i, y});
      in_run = o;
    }
  }

  struct Seed {
    int x, y;
  };
  Surface& s_;
  std::vector<Seed> stack_;
};

bool clear_of_bounds(const Surface& s, int x, int y, int radius) {
  for (int yy = std::max(0, y - radius); yy <= std::min(s.height() - 1, y + radius); ++yy)
    for (int xx = std::max(0, x - radius); xx <= std::min(s.width() - 1, x + radius); ++xx)
      if (bounds_region(s.at(xx, yy))) return false;
  return true;
}

Colour colour_of_depth(int depth) {
  if (depth == 0) return kOutsideBlue;
  return depth % 2 == 1 ? kMaterialGrey : kEvenMark;
}

}  // namespace

void build_nested_material_map(Preview& preview, const Drawing& drawing, const LayerTicks& ticked,
                               const Settings& settings, NestedSheet sheet) {
  Surface& s = preview.surface;
  redraw_preview(preview, drawing, ticked, s.width(), s.height());
  fill_nested_material_map(preview, drawing, ticked, settings, sheet);
}

void fill_nested_material_map(Preview& preview, const Drawing& drawing, const LayerTicks& ticked,
                              const Settings& settings, NestedSheet sheet) {
  Surface& s = preview.surface;
  const PreviewFit& f = preview.fit;
  if (!(f.Scr_k > 0 && std::isfinite(f.Scr_k) && std::isfinite(f.Scr_x0) && std::isfinite(f.Scr_y0))) return;
  std::uint32_t contours = 0;
  std::vector<Element> elements = counted_elements(drawing, ticked, settings, sheet, contours);
  DepthSweep sweep(std::move(elements), contours);
  RegionFill fill(s);
  const Colour unmapped = s.background();
  for (int clearance = kSeedClearance; clearance >= 0; --clearance) {
    sweep.restart();
    for (int y = 0; y < s.height(); ++y) {
      const double dy = (f.Scr_y0 - (y - kRayLift)) / f.Scr_k;
      for (int x = 0; x < s.width(); ++x) {
        if (s.at(x, y) != unmapped) continue;
        if (!clear_of_bounds(s, x, y, clearance)) continue;
        fill.run(x, y, colour_of_depth(sweep.depth((x - f.Scr_x0) / f.Scr_k, dy)));
      }
    }
  }
  for (int y = 0; y < s.height(); ++y)
    for (int x = 0; x < s.width(); ++x)
      if (s.at(x, y) == kEvenMark) s.set_pixel(x, y, unmapped);
}

}  // namespace makenc
