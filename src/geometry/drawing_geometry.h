// The contours of a drawing as exact geometry, for judging what the machine
// is told to do with them: lines, arcs, circles and points in chain order,
// which contours close, which are cut, which one is the outline, and where
// the material lies (an odd number of closed cutting contours around a
// point). Everything is read from the layer tables start-up leaves, in
// drawing units after translation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/drawing.h"

namespace makenc {

struct Xy {
  double x = 0, y = 0;
};

double distance(Xy a, Xy b);

// One element of a contour.
struct Piece {
  enum class Kind : std::uint8_t { line, arc, circle, point };
  Kind kind = Kind::line;
  // A straight piece the judge adds where two ends of a closed contour meet
  // only within the matching tolerance, so that the contour encloses.
  bool bridge = false;
  std::uint32_t contour = 0;
  Xy a, b;  // the ends in chain order; a point and a circle have a == b
  Xy centre;
  double r = 0;
  double start = 0, sweep = 0;  // arcs and circles: radians, counter-clockwise
  double min_x = 0, min_y = 0, max_x = 0, max_y = 0;

  double length() const;
  Xy at(double t) const;  // t = 0 at a, 1 at b, along the piece
  double distance_to(Xy p) const;
};

// The indices first .. last - 1 of the drawing's pieces: a contour's pieces
// lie one after the other.
class PieceRange {
 public:
  class iterator {
   public:
    using value_type = std::size_t;
    using difference_type = std::ptrdiff_t;
    iterator() = default;
    explicit iterator(std::size_t at) : at_(at) {}
    std::size_t operator*() const { return at_; }
    iterator& operator++() {
      ++at_;
      return *this;
    }
    iterator operator++(int) {
      iterator before = *this;
      ++at_;
      return before;
    }
    bool operator==(const iterator&) const = default;

   private:
    std::size_t at_ = 0;
  };
  PieceRange() = default;
  PieceRange(std::size_t first, std::size_t last) : first_(first), last_(last) {}
  iterator begin() const { return iterator(first_); }
  iterator end() const { return iterator(last_); }
  std::size_t size() const { return last_ - first_; }
  bool empty() const { return last_ == first_; }
  std::size_t front() const { return first_; }
  std::size_t operator[](std::size_t k) const { return first_ + k; }

 private:
  std::size_t first_ = 0, last_ = 0;
};

struct Contour {
  int layer = 0;
  std::string id;  // the contour number as the layer table holds it
  bool cutting = false;
  bool closed = false;
  bool point = false;
  bool outline = false;  // encloses the whole drawing
  PieceRange pieces;
  double min_x = 0, min_y = 0, max_x = 0, max_y = 0;
  double length = 0;  // along the pieces, without bridges
  std::string layer_name() const { return "ly" + std::to_string(layer); }
};

class DrawingGeometry {
 public:
  // The contours of the ticked layers; a chain closes when its last end
  // lies within `closure_tolerance` of its first start.
  DrawingGeometry(const Drawing& drawing, const LayerTicks& ticked, double closure_tolerance);

  const std::vector<Contour>& contours() const { return contours_; }
  const std::vector<Piece>& pieces() const { return pieces_; }
  // The outline's index, or contours().size() when no contour encloses
  // the drawing.
  std::size_t outline() const { return outline_; }
  // The box around every piece; all 0 for a drawing without any.
  struct Box {
    double min_x = 0, min_y = 0, max_x = 0, max_y = 0;
  };
  Box box() const { return box_; }

  // Which closed cutting contours make the material: all of them, or all
  // but the outline (the edge of a nested sheet).
  void count_outline_as_material(bool counted) { outline_counted_ = counted; }
  // Closed cutting contours (as counted) around the point, by parity.
  bool is_material(Xy p) const;
  // Whether the point lies inside the one contour (a closed one).
  bool encloses(std::size_t contour, Xy p) const;
  // Each closed cutting contour whose box holds the point, once.
  template <typename F>
  void visit_closed_cutting(Xy p, F&& f) const {
    if (contour_start_.empty()) return;
    auto ask = [&](std::size_t k) {
      const Contour& c = contours_[k];
      if (p.x < c.min_x || p.x > c.max_x || p.y < c.min_y || p.y > c.max_y) return;
      f(k);
    };
    for (std::size_t k : wide_contours_) ask(k);
    const std::size_t cell = row_of(p.y) * columns_ + column_of(p.x);
    for (std::size_t n = contour_start_[cell]; n < contour_start_[cell + 1]; ++n) ask(cell_contours_[n]);
  }
  // Whether the contour is one of those is_material counts.
  bool counted(std::size_t contour) const { return counts(contours_[contour]); }

  // Each piece whose bounding box meets the box, once, in the order of
  // the cells: in the first cell the piece and the box share. Only reads,
  // so that threads may visit at once.
  template <typename F>
  void visit(double min_x, double min_y, double max_x, double max_y, F&& f) const {
    if (cell_start_.empty()) return;
    const std::size_t c0 = column_of(min_x), c1 = column_of(max_x);
    const std::size_t r0 = row_of(min_y), r1 = row_of(max_y);
    for (std::size_t r = r0; r <= r1; ++r)
      for (std::size_t c = c0; c <= c1; ++c) {
        const std::size_t cell = r * columns_ + c;
        for (std::size_t n = cell_start_[cell]; n < cell_start_[cell + 1]; ++n) {
          const std::size_t k = cell_pieces_[n];
          const Piece& p = pieces_[k];
          if (p.max_x < min_x || p.min_x > max_x || p.max_y < min_y || p.min_y > max_y) continue;
          if ((c != c0 && column_of(p.min_x) < c) || (r != r0 && row_of(p.min_y) < r)) continue;
          f(k);
        }
      }
  }

 private:
  void add_contour(const Drawing& drawing, int layer, std::size_t first, std::size_t end, double tolerance,
                   const std::string& id);
  void find_outline();
  void build_index();
  void build_contour_index();
  std::size_t column_of(double x) const;
  std::size_t row_of(double y) const;
  bool counts(const Contour& c) const;
  int crossings_right(const Piece& piece, Xy p) const;

  std::vector<Contour> contours_;
  std::vector<Piece> pieces_;
  std::vector<Piece> chain_;  // the pieces of the contour being added
  std::size_t outline_ = 0;
  Box box_;
  bool outline_counted_ = true;
  // A grid of cells over the drawing, each with the pieces whose boxes meet
  // it: those of cell n are cell_pieces_[cell_start_[n] .. cell_start_[n + 1]).
  double x0_ = 0, y0_ = 0, cell_ = 1;
  std::size_t columns_ = 1, rows_ = 1;
  std::vector<std::size_t> cell_start_, cell_pieces_;
  // The same cells with the closed cutting contours whose boxes meet them;
  // the contours whose boxes span most of the drawing apart, asked always.
  std::vector<std::size_t> contour_start_, cell_contours_;
  std::vector<std::size_t> wide_contours_;
  // Per contour of eight pieces or more, its height in bands of equal
  // size, each with the pieces that reach into it; no bands for the others.
  struct Bands {
    std::size_t count = 0;
    double low = 0, height = 1;
    std::vector<std::size_t> start, pieces;
    std::size_t band_of(double y) const;
  };
  void build_bands();
  std::vector<Bands> bands_;
  // Per contour, its bands in bands_, or kNoBands.
  static constexpr std::uint32_t kNoBands = 0xFFFFFFFF;
  std::vector<std::uint32_t> bands_of_;
};

// Where the segment p + t (q - p), t in [t0, t1], meets the piece; a
// point piece is never met.
bool segment_meets(Xy p, Xy q, double t0, double t1, const Piece& piece);

// Whether the two pieces surely lie farther apart than the gap: two lines
// by their distance, a line and a round piece, or two round pieces, by the
// round pieces' whole circles. False where it cannot tell.
bool pieces_apart(const Piece& a, const Piece& b, double gap);

}  // namespace makenc
