#include "raster/png_file.h"

#include <array>

#include "core/files.h"

namespace makenc {
namespace {

// A stored deflate block holds at most this many bytes.
constexpr std::size_t kStoredBlock = 65535;

constexpr std::array<std::uint32_t, 256> crc_table() {
  std::array<std::uint32_t, 256> t{};
  for (std::uint32_t n = 0; n < 256; ++n) {
    std::uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    t[n] = c;
  }
  return t;
}

void put_u32(std::string& out, std::uint32_t v) {
  out += static_cast<char>(v >> 24);
  out += static_cast<char>((v >> 16) & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
  out += static_cast<char>(v & 0xFF);
}

void put_chunk(std::string& out, std::string_view type, std::string_view data) {
  put_u32(out, static_cast<std::uint32_t>(data.size()));
  std::string body(type);
  body += data;
  out += body;
  put_u32(out, png_crc32(body));
}

// Each row is a filter byte (none) and then red, green, blue per pixel; the
// surface keeps red in the low byte.
std::string scanlines(const Surface& s) {
  std::string raw;
  raw.reserve(static_cast<std::size_t>(s.height()) * (1 + 3 * static_cast<std::size_t>(s.width())));
  for (int y = 0; y < s.height(); ++y) {
    raw += '\0';
    for (int x = 0; x < s.width(); ++x) {
      const auto c = static_cast<std::uint32_t>(s.at(x, y));
      raw += static_cast<char>(c & 0xFF);
      raw += static_cast<char>((c >> 8) & 0xFF);
      raw += static_cast<char>((c >> 16) & 0xFF);
    }
  }
  return raw;
}

std::string zlib_stored(std::string_view raw) {
  std::string z = "\x78\x01";
  std::size_t pos = 0;
  do {
    const std::size_t n = raw.size() - pos < kStoredBlock ? raw.size() - pos : kStoredBlock;
    const bool last = pos + n == raw.size();
    z += static_cast<char>(last ? 1 : 0);
    const auto len = static_cast<std::uint16_t>(n);
    const auto nlen = static_cast<std::uint16_t>(~len);
    z += static_cast<char>(len & 0xFF);
    z += static_cast<char>(len >> 8);
    z += static_cast<char>(nlen & 0xFF);
    z += static_cast<char>(nlen >> 8);
    z.append(raw.substr(pos, n));
    pos += n;
  } while (pos < raw.size());
  put_u32(z, zlib_adler32(raw));
  return z;
}

}  // namespace

std::uint32_t png_crc32(std::string_view bytes) {
  static constexpr std::array<std::uint32_t, 256> table = crc_table();
  std::uint32_t c = 0xFFFFFFFFu;
  for (const char ch : bytes) c = table[(c ^ static_cast<unsigned char>(ch)) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

std::uint32_t zlib_adler32(std::string_view bytes) {
  constexpr std::uint32_t kMod = 65521;
  std::uint32_t a = 1;
  std::uint32_t b = 0;
  for (const char ch : bytes) {
    a = (a + static_cast<unsigned char>(ch)) % kMod;
    b = (b + a) % kMod;
  }
  return (b << 16) | a;
}

std::string png_bytes(const Surface& surface) {
  std::string out = "\x89PNG\r\n\x1A\n";
  std::string header;
  put_u32(header, static_cast<std::uint32_t>(surface.width()));
  put_u32(header, static_cast<std::uint32_t>(surface.height()));
  header += std::string("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB, no interlace
  put_chunk(out, "IHDR", header);
  put_chunk(out, "IDAT", zlib_stored(scanlines(surface)));
  put_chunk(out, "IEND", "");
  return out;
}

Status write_png(const Surface& surface, const std::filesystem::path& file) {
  if (surface.width() < 1 || surface.height() < 1)
    return Error{"cannot write " + display_path(file) + ": the picture has no pixels"};
  return write_file_atomically(file, png_bytes(surface));
}

}  // namespace makenc
