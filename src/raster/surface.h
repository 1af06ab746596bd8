// A retained raster surface: what is drawn stays until the next erase and
// can be read back pixel by pixel. The material map is computed on these
// pixels, so drawing is exact and never anti-aliased: a solid one-pixel line
// is drawn eight-connected and seals a region against the four-connected
// flood fill, while the gaps of dotted and dash-dot-dot lines let it pass.
#pragma once

#include <cstdint>
#include <vector>

namespace makenc {

// Colours are 32-bit values with red in the low byte and blue in the high
// byte (0x808080 grey, 0xFFC0C0 light blue, 0xE0E0E0 the background).
using Colour = std::int32_t;

enum class DrawStyle : int { Solid = 0, Dotted = 2, DashDotDot = 4 };
enum class FillStyle : int { Solid = 0, Transparent = 1 };

class Surface {
 public:
  Surface() = default;
  Surface(int width, int height, Colour background);

  int width() const { return width_; }
  int height() const { return height_; }
  // Resizing keeps nothing: the surface is erased.
  void resize(int width, int height);
  void erase();  // every pixel to the background colour
  Colour background() const { return background_; }

  // State that primitives inherit until it is changed.
  DrawStyle draw_style = DrawStyle::Solid;
  FillStyle fill_style = FillStyle::Transparent;
  Colour fill_colour = 0;

  // Coordinates are pixels; fractional values round to the nearest pixel.
  void line(double x1, double y1, double x2, double y2, Colour colour);
  // The outline in the draw style; filled with the fill colour when the fill
  // style is solid.
  void circle(double cx, double cy, double r, Colour colour);
  // Counter-clockwise on screen from start to end (radians, 0 pointing
  // right, screen y growing downward).
  void arc(double cx, double cy, double r, double start, double end, Colour colour);

  // -1 outside the surface.
  Colour pixel(double x, double y) const;
  void set_pixel(int x, int y, Colour colour);

  // Fills the four-connected region around (x, y) that does not hold the
  // border colour with the fill colour. Nothing happens when (x, y) is
  // outside or on the border colour.
  void flood_fill(int x, int y, Colour border);

  const std::vector<Colour>& pixels() const { return pixels_; }

 private:
  int width_ = 0;
  int height_ = 0;
  Colour background_ = 0;
  std::vector<Colour> pixels_;
};

}  // namespace makenc
