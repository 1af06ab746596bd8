// A retained raster surface: what is drawn stays until the next erase and
// can be read back pixel by pixel. The material map is computed on these
// pixels, so drawing is exact and never anti-aliased: a solid one-pixel line
// is drawn eight-connected and seals a region against the four-connected
// flood fill, while the gaps of dotted and dash-dot-dot lines let it pass.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>
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
  Surface(const Surface& other);
  Surface& operator=(const Surface& other);
  // A surface moved from holds no pixels.
  Surface(Surface&& other) noexcept;
  Surface& operator=(Surface&& other) noexcept;

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
  Colour at(int x, int y) const { return palette_[shade_at(x, y)]; }

  // Fills the four-connected region around (x, y) that does not hold the
  // border colour with the fill colour. Nothing happens when (x, y) is
  // outside or on the border colour.
  void flood_fill(int x, int y, Colour border);

  // Every pixel, row by row from the top.
  std::vector<Colour> pixels() const;

  // The pixel at whole coordinates inside the surface, unchecked, as its
  // index into the colours the surface holds.
  std::uint8_t shade_at(int x, int y) const {
    const std::uint8_t pair = packed_row(y)[x / 2];
    return (x % 2 == 0) ? pair & 0x0F : pair >> 4;
  }
  // The pixels of row y as indices into colours(), one byte each; the row
  // stays valid until the next call.
  const std::uint8_t* indexed_row(int y) const;
  const std::vector<Colour>& colours() const { return palette_; }

  // Row y as the surface keeps it: two pixels a byte, the left one in the
  // low four bits. Eight bytes past the last row may be read as well.
  const std::uint8_t* packed_row(int y) const {
    return shades_.get() + static_cast<std::size_t>(y) * static_cast<std::size_t>(stride_);
  }

  // A surface holds this many different colours at most; a further colour
  // is drawn in the nearest one it holds. Maps and previews use seven, and a
  // pixel then takes four bits, so a map of tens of millions of pixels fits
  // in a small part of memory.
  static constexpr std::size_t kMaxColours = 16;
  // Bytes read past the last row by scans that take eight bytes at a time.
  static constexpr std::size_t kReadPast = 8;

 private:
  friend class SpanFill;
  friend class Ink;
  using Shade = std::uint8_t;  // index into the palette
  Shade shade_of(Colour colour);
  std::uint8_t* packed_row(int y) {
    return shades_.get() + static_cast<std::size_t>(y) * static_cast<std::size_t>(stride_);
  }
  void put_shade(std::int64_t x, std::int64_t y, Shade shade) {
    const auto at = static_cast<std::uint64_t>(x);
    std::uint8_t& pair = packed_row(static_cast<int>(y))[at / 2];
    const unsigned shift = (at % 2) * 4;  // the right pixel of a pair is the high four bits
    pair = static_cast<std::uint8_t>((pair & ~(0x0FU << shift)) | (unsigned{shade} << shift));
  }
  // Pixels lo .. hi of row y, all inside the surface; none when hi < lo.
  void put_shades(std::int64_t y, std::int64_t lo, std::int64_t hi, Shade shade);

  // The pixels, zeroed by the allocator when the surface is made: a fresh
  // surface costs no pass over its pixels.
  struct FreeShades {
    void operator()(Shade* p) const { std::free(p); }
  };
  using Shades = std::unique_ptr<Shade[], FreeShades>;
  static Shades blank_shades(std::size_t count);
  void make_pixels(int width, int height);

  int width_ = 0;
  int height_ = 0;
  int stride_ = 0;  // bytes a row
  Colour background_ = 0;
  std::vector<Colour> palette_;  // palette_[0] is the background
  Shades shades_;
  std::size_t count_ = 0;  // bytes held, kReadPast included
  Shade last_shade_ = 0;
  // Every pixel still has the background: nothing was drawn since the
  // surface was made or erased, and an erase has nothing to do.
  bool blank_ = true;
  mutable std::vector<std::uint8_t> unpacked_;  // the row indexed_row gave
};

// One colour as a primitive draws it: the colour is taken into the palette
// at the first pixel drawn, as a single pixel would take it, so a primitive
// that draws nothing leaves the palette as it was; the pixels after it are
// plain stores.
class Ink {
 public:
  Ink(Surface& s, Colour colour) : s_(s), colour_(colour) {}
  // The pixel at whole coordinates inside the surface, unchecked.
  void put(std::int64_t x, std::int64_t y) { s_.put_shade(x, y, shade()); }
  // The pixel if it is inside the surface.
  void put_inside(std::int64_t x, std::int64_t y) {
    if (x >= 0 && y >= 0 && x < s_.width_ && y < s_.height_) put(x, y);
  }
  // Pixels x_lo .. x_hi of row y, all inside the surface; none when x_hi < x_lo.
  void put_run(std::int64_t y, std::int64_t x_lo, std::int64_t x_hi) {
    if (x_hi >= x_lo) s_.put_shades(y, x_lo, x_hi, shade());
  }

 private:
  Surface::Shade shade() {
    if (!looked_up_) {
      shade_ = s_.shade_of(colour_);
      looked_up_ = true;
    }
    return shade_;
  }
  Surface& s_;
  Colour colour_;
  Surface::Shade shade_ = 0;
  bool looked_up_ = false;
};

}  // namespace makenc
