// The preview written as a PNG picture, so the material map of a batch run
// can be looked at. The encoder is the file format's smallest honest form:
// 8-bit RGB, no filtering, deflate's stored blocks.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "core/error.h"
#include "raster/surface.h"

namespace makenc {

// The PNG checksums, exposed for the readers that verify the files.
std::uint32_t png_crc32(std::string_view bytes);
std::uint32_t zlib_adler32(std::string_view bytes);

// The whole file as bytes. The surface must be at least one pixel wide and
// high.
std::string png_bytes(const Surface& surface);

// Writes the file atomically; a surface without pixels is refused.
Status write_png(const Surface& surface, const std::filesystem::path& file);

}  // namespace makenc
