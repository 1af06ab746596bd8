#include "raster/png_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "core/constants.h"
#include "preview/material_map.h"
#include "support/drawing_rows.h"
#include "support/files.h"

namespace makenc {
namespace {

namespace fs = std::filesystem;
using test::file_bytes;
using test::TempFolder;

std::uint32_t read_u32(const std::string& s, std::size_t at) {
  return (std::uint32_t{static_cast<unsigned char>(s[at])} << 24) |
         (std::uint32_t{static_cast<unsigned char>(s[at + 1])} << 16) |
         (std::uint32_t{static_cast<unsigned char>(s[at + 2])} << 8) |
         std::uint32_t{static_cast<unsigned char>(s[at + 3])};
}

struct Chunk {
  std::string type;
  std::string data;
};

// Splits a PNG into its chunks, checking the signature and every CRC.
std::vector<Chunk> chunks_of(const std::string& png) {
  std::vector<Chunk> out;
  EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1A\n"));
  std::size_t at = 8;
  while (at + 12 <= png.size()) {
    const std::uint32_t len = read_u32(png, at);
    const std::string typed = png.substr(at + 4, 4 + len);
    EXPECT_EQ(read_u32(png, at + 8 + len), png_crc32(typed)) << typed.substr(0, 4);
    out.push_back({typed.substr(0, 4), typed.substr(4)});
    at += 12 + len;
  }
  EXPECT_EQ(at, png.size());
  return out;
}

// Undoes zlib's stored blocks, checking their lengths and the Adler-32.
std::string inflate_stored(const std::string& z) {
  EXPECT_EQ(static_cast<unsigned char>(z[0]) & 0x0F, 8);  // deflate
  EXPECT_EQ(((static_cast<unsigned char>(z[0]) << 8) | static_cast<unsigned char>(z[1])) % 31, 0);
  std::string raw;
  std::size_t at = 2;
  for (bool last = false; !last;) {
    last = (z[at] & 1) != 0;
    EXPECT_EQ((z[at] >> 1) & 3, 0);  // stored
    const unsigned len = static_cast<unsigned char>(z[at + 1]) | (static_cast<unsigned char>(z[at + 2]) << 8);
    const unsigned nlen =
        static_cast<unsigned char>(z[at + 3]) | (static_cast<unsigned char>(z[at + 4]) << 8);
    EXPECT_EQ(len ^ 0xFFFFu, nlen);
    raw += z.substr(at + 5, len);
    at += 5 + len;
  }
  EXPECT_EQ(read_u32(z, at), zlib_adler32(raw));
  EXPECT_EQ(at + 4, z.size());
  return raw;
}

// The picture a PNG holds, back as surface colours.
Surface decoded(const std::string& png) {
  const std::vector<Chunk> chunks = chunks_of(png);
  EXPECT_EQ(chunks.front().type, "IHDR");
  EXPECT_EQ(chunks.back().type, "IEND");
  const auto w = static_cast<int>(read_u32(chunks[0].data, 0));
  const auto h = static_cast<int>(read_u32(chunks[0].data, 4));
  EXPECT_EQ(chunks[0].data.substr(8), std::string("\x08\x02\x00\x00\x00", 5));
  std::string z;
  for (const Chunk& c : chunks)
    if (c.type == "IDAT") z += c.data;
  const std::string raw = inflate_stored(z);
  EXPECT_EQ(raw.size(), static_cast<std::size_t>(h) * (1 + 3 * static_cast<std::size_t>(w)));
  Surface s(w, h, 0);
  for (int y = 0; y < h; ++y) {
    const std::size_t row = static_cast<std::size_t>(y) * (1 + 3 * static_cast<std::size_t>(w));
    EXPECT_EQ(raw[row], '\0');
    for (int x = 0; x < w; ++x) {
      const std::size_t p = row + 1 + 3 * static_cast<std::size_t>(x);
      s.set_pixel(x, y,
                  static_cast<unsigned char>(raw[p]) | (static_cast<unsigned char>(raw[p + 1]) << 8) |
                      (static_cast<unsigned char>(raw[p + 2]) << 16));
    }
  }
  return s;
}

TEST(PngChecksums, MatchTheFormatsKnownValues) {
  EXPECT_EQ(png_crc32("IEND"), 0xAE426082u);
  EXPECT_EQ(png_crc32("123456789"), 0xCBF43926u);
  EXPECT_EQ(zlib_adler32("Wikipedia"), 0x11E60398u);
  EXPECT_EQ(zlib_adler32(""), 1u);
}

TEST(PngFile, ColoursSurviveTheRoundTripWithRedFirst) {
  Surface s(3, 2, kBackground);
  s.set_pixel(0, 0, kPointRed);
  s.set_pixel(1, 0, kOutsideBlue);
  s.set_pixel(2, 1, kBlack);
  const std::string png = png_bytes(s);
  EXPECT_EQ(decoded(png).pixels(), s.pixels());
}

TEST(PngFile, LargePicturesSpanSeveralStoredBlocks) {
  Surface s(400, 300, kBackground);
  s.line(0, 0, 399, 299, kBlack);
  s.circle(200, 150, 100, kMaterialGrey);
  EXPECT_EQ(decoded(png_bytes(s)).pixels(), s.pixels());
}

TEST(PngFile, WritesTheMaterialMapOfAPlate) {
  using namespace test;
  const Drawing d = drawing_of(
      joined(joined(rectangle_rows(0, 0, 100, 60), {circle_row(30, 30, 10), arc_row(75, 30, 8, 90, 270)}),
             {line_row(75, 38, 85, 38), line_row(85, 38, 85, 22), line_row(85, 22, 75, 22),
              line_row(10, 50, 90, 50, "5"), point_row(50, 10)}),
      100, 60);
  const LayerTicks ticked{true, true, true, true, true, true};
  Preview p;
  redraw_preview(p, d, ticked, kBatchPreviewWidth, kBatchPreviewHeight);
  MaterialMap map;
  paint_region(map, p, d, ticked, Settings{}, -5, -5);
  show_material_map(p, map, d, ticked);
  TempFolder dir;
  const fs::path file = dir.path() / "material_map.png";
  ASSERT_TRUE(write_png(p.surface, file).ok());
  const Surface back = decoded(file_bytes(file));
  EXPECT_EQ(back.width(), kBatchPreviewWidth);
  EXPECT_EQ(back.pixels(), p.surface.pixels());
}

TEST(PngFile, RefusesAnEmptyPictureAndReportsAnUnwritableFolder) {
  TempFolder dir;
  const Status empty = write_png(Surface{}, dir.path() / "empty.png");
  ASSERT_FALSE(empty.ok());
  EXPECT_NE(empty.error().message.find("empty.png"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir.path() / "empty.png"));
  const Status missing = write_png(Surface(2, 2, kBackground), dir.path() / "no" / "such.png");
  ASSERT_FALSE(missing.ok());
  EXPECT_NE(missing.error().message.find("such.png"), std::string::npos);
}

}  // namespace
}  // namespace makenc
