// The material map and the approach assignment on a drawing and machining
// conditions decoded from the input, with a region painted by hand or not:
//   byte 0, 1   approach length: mantissa, power of ten 1e-9 .. 1e9
//   byte 2, 3   matching tolerance the same way (mantissa 0: tolerance 0)
//   byte 4, 5   plate size the same way: the grid the coordinates lie on
//   byte 6      rounding factor
//   byte 7      ticked layers (bits 0-5), every part material, outline is
//               the sheet's edge
//   byte 8, 9   preview width and height
//   byte 10     bit 0: a region painted by hand before the run, at the
//               point of the plate the other bits give
// then entities of an operation byte and coordinate bytes each: a line, a
// line on from the last end, a circle, an arc, a point, or a line that
// closes the chain back to where it started; the layer and the colour code
// come from the operation byte too. The drawing is written as the host
// writes it and read, measured and chained as start-up does.
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "assign/assignment.h"
#include "checks.h"
#include "core/number_text.h"
#include "core/settings.h"
#include "core/settings_check.h"
#include "import/startup.h"
#include "preview/material_map.h"

namespace {

using namespace makenc;

// Chaining looks for the lowest record near each end, which grows with the
// square of the records near one another; the reader's own target takes long
// drawings. A few dozen entities make every kind of nesting, hole and open
// chain the map and the assignment meet.
constexpr int kMostEntities = 48;

class Bytes {
 public:
  Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool empty() const { return at_ == size_; }
  std::uint8_t next() { return at_ < size_ ? data_[at_++] : 0; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

// mantissa x 10^e for e in -9 .. 9 and mantissa 0.5 .. 4.5 in halves (0 with
// `zero` for a mantissa byte of 0).
double scaled(std::uint8_t mantissa, std::uint8_t power, bool zero) {
  if (zero && mantissa == 0) return 0;
  return (0.5 + 0.5 * (mantissa % 9)) * std::pow(10.0, (power % 19) - 9);
}

struct Pen {
  double x = 0, y = 0;              // the last end point
  double start_x = 0, start_y = 0;  // where the chain began
};

class DrawingText {
 public:
  explicit DrawingText(double plate) : plate_(plate) { lines_ = {"hq", "file=C:\\jww\\data\\fuzz.jww", "#"}; }
  double coordinate(std::uint8_t b) const { return plate_ * b / 255.0; }

  void entity(std::uint8_t op, Bytes& in) {
    const int layer = (op / 6) % kLayerCount;
    static constexpr int kColours[] = {2, 2, 2, 2, 1, 3, 8, 2};
    const int colour = kColours[(op / 36) % 8];
    if (layer != layer_) lines_.push_back("ly" + std::to_string(layer_ = layer));
    if (colour != colour_) lines_.push_back("lc" + std::to_string(colour_ = colour));
    switch (op % 6) {
      case 0: {
        pen_.start_x = coordinate(in.next());
        pen_.start_y = coordinate(in.next());
        line_to(pen_.start_x, pen_.start_y, coordinate(in.next()), coordinate(in.next()));
        break;
      }
      case 1: line_to(pen_.x, pen_.y, coordinate(in.next()), coordinate(in.next())); break;
      case 2: {
        const double cx = coordinate(in.next()), cy = coordinate(in.next());
        const double r = plate_ * (in.next() + 1) / 512.0;
        lines_.push_back("ci " + text(cx) + " " + text(cy) + " " + text(r));
        break;
      }
      case 3: {
        const double cx = coordinate(in.next()), cy = coordinate(in.next());
        const double r = plate_ * (in.next() + 1) / 512.0;
        const double sa = in.next() * 360.0 / 256, ea = in.next() * 360.0 / 256;
        lines_.push_back("ci " + text(cx) + " " + text(cy) + " " + text(r) + " " + text(sa) + " " + text(ea) +
                         " 1 0");
        const double rad = ea * 3.14159265358979323846 / 180;
        pen_.x = cx + r * std::cos(rad);
        pen_.y = cy + r * std::sin(rad);
        break;
      }
      case 4:
        lines_.push_back("pt " + text(coordinate(in.next())) + " " + text(coordinate(in.next())));
        break;
      default: line_to(pen_.x, pen_.y, pen_.start_x, pen_.start_y); break;
    }
  }
  const std::vector<std::string>& lines() const { return lines_; }

 private:
  static std::string text(double v) { return double_text(v); }
  void line_to(double x1, double y1, double x2, double y2) {
    std::string line;
    for (const double v : {x1, y1, x2, y2}) line.append(" ").append(text(v));
    lines_.push_back(std::move(line));
    pen_.x = x2;
    pen_.y = y2;
  }

  double plate_;
  std::vector<std::string> lines_;
  int layer_ = -1, colour_ = -1;
  Pen pen_;
};

void check_map(const MaterialMap& map, const Preview& preview, int width, int height) {
  if (preview.surface.width() > width || preview.surface.height() > height)
    fuzz::broken("a preview larger than asked");
  if (!map.ready || !map.regions) fuzz::broken("a run that leaves no map");
  for (const RegionKey& key : map.material.keys)
    for (const std::uint32_t c : key)
      if (c >= map.regions->contours().size())
        fuzz::broken("a material region of a contour that is not there");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Bytes in(data, size);
  Settings settings;
  const std::uint8_t apr_m = in.next(), apr_e = in.next();
  settings.ini_Apr = double_text(scaled(apr_m, apr_e, false));
  const std::uint8_t tol_m = in.next(), tol_e = in.next();
  settings.ini_GOSA = double_text(scaled(tol_m, tol_e, true));
  const std::uint8_t plate_m = in.next(), plate_e = in.next();
  static constexpr std::int16_t kFactors[] = {1, 10, 100, 1000, 10000, 32767, 3, 1000};
  settings.ini_S_suu = kFactors[in.next() % 8];
  const std::uint8_t flags = in.next();
  LayerTicks ticked{};
  for (int k = 0; k < kLayerCount; ++k) ticked[static_cast<std::size_t>(k)] = (flags >> k) & 1;
  const MaterialChoice choice{(flags & 0x40) != 0, (flags & 0x80) != 0};
  const int width = 1 + in.next() % 64, height = 1 + in.next() % 32;
  MaterialMap map;
  // Some inputs paint a region by hand before the run, at a point of the
  // plate the byte gives.
  const std::uint8_t paint = in.next();

  DrawingText drawing_text(scaled(plate_m, plate_e, false));
  for (int n = 0; !in.empty() && n < kMostEntities; ++n) drawing_text.entity(in.next(), in);
  if (!check_tolerance(settings)) return 0;
  auto start = read_drawing(drawing_text.lines(), settings);
  if (!start) return 0;
  const Drawing& drawing = start->drawing;
  fuzz::check_contours(drawing);

  Preview preview;
  redraw_preview(preview, drawing, ticked, width, height);
  if (paint & 1) {
    const double at = (paint >> 1) / 127.0 * scaled(plate_m, plate_e, false);
    paint_region(map, preview, drawing, ticked, settings, at, at / 2);
    preview.Mus_clic = 1;
  }
  Assignment assignment;
  run_approach_assignment(assignment, preview, map, drawing, settings, ticked, choice);
  check_map(map, preview, width, height);
  fuzz::check_cut_list(assignment);
  return 0;
}
