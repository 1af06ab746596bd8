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
  // The pixel at whole coordinates inside the surface, unchecked.
  Colour at(int x, int y) const {
    return palette_[shades_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                            static_cast<std::size_t>(x)]];
  }

  // Fills the four-connected region around (x, y) that does not hold the
  // border colour with the fill colour. Nothing happens when (x, y) is
  // outside or on the border colour.
  void flood_fill(int x, int y, Colour border);

  // Every pixel, row by row from the top.
  std::vector<Colour> pixels() const;

  // The pixels of row y as indices into the colours the surface holds, for
  // reading a whole surface fast.
  const std::uint8_t* indexed_row(int y) const {
    return shades_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
  }
  const std::vector<Colour>& colours() const { return palette_; }

  // A surface holds this many different colours at most; a further colour
  // is drawn in the nearest one it holds. Maps and previews use seven, and a
  // pixel then takes one byte, so a map of tens of millions of pixels fits
  // in memory.
  static constexpr std::size_t kMaxColours = 256;

 private:
  friend class SpanFill;
  using Shade = std::uint8_t;  // index into the palette
  Shade shade_of(Colour colour);

  int width_ = 0;
  int height_ = 0;
  Colour background_ = 0;
  std::vector<Colour> palette_;  // palette_[0] is the background
  std::vector<Shade> shades_;
  Shade last_shade_ = 0;
};

}  // namespace makenc
