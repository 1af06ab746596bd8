// Rows of a surface read eight pixels at a time: where the next pixel of a
// few shades lies in a row, without testing the pixels one by one. The fill
// finds the ends of its spans and the open runs beside them with it.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace makenc {

// A 64-bit word holds eight pixels, the leftmost in the low byte.
static_assert(std::endian::native == std::endian::little);

// Looks for N shades (a shade given twice is looked for once).
template <std::size_t N>
class ShadeScan {
 public:
  explicit ShadeScan(const std::array<std::uint8_t, N>& shades) : shades_(shades) {}

  bool holds(std::uint8_t v) const {
    for (const std::uint8_t s : shades_)
      if (v == s) return true;
    return false;
  }

  // The first x in [from, to) whose pixel holds one of the shades (kHeld) or
  // holds none of them; `to` when there is none.
  template <bool kHeld>
  int next(const std::uint8_t* row, int from, int to) const {
    int x = from;
    for (; to - x >= 8; x += 8) {
      const std::uint64_t hit = hits<kHeld>(word_at(row + x));
      if (hit != 0) return x + std::countr_zero(hit) / 8;
    }
    if (x == to) return to;
    if (to - from >= 8) {
      // The last eight pixels before `to`, less those already looked at.
      const std::uint64_t hit =
          hits<kHeld>(word_at(row + to - 8)) & (~std::uint64_t{0} << 8 * (x - (to - 8)));
      return hit != 0 ? to - 8 + std::countr_zero(hit) / 8 : to;
    }
    while (x < to && holds(row[x]) != kHeld) ++x;
    return x;
  }

  // The last x at or left of `from` whose pixel holds one of the shades, or
  // -1 when there is none.
  int last_held(const std::uint8_t* row, int from) const {
    int x = from;
    for (; x >= 7; x -= 8) {
      const std::uint64_t held = matches(word_at(row + x - 7));
      if (held != 0) return x - 7 + (63 - std::countl_zero(held)) / 8;
    }
    if (x < 0) return -1;
    if (from >= 7) {
      // The first eight pixels of the row, less those already looked at.
      const std::uint64_t held = matches(word_at(row)) & (~std::uint64_t{0} >> 8 * (7 - x));
      return held != 0 ? (63 - std::countl_zero(held)) / 8 : -1;
    }
    while (x >= 0 && !holds(row[x])) --x;
    return x;
  }

 private:
  static constexpr std::uint64_t kOnes = 0x0101010101010101;
  static constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7F;
  static constexpr std::uint64_t kHigh = 0x8080808080808080;

  static std::uint64_t word_at(const std::uint8_t* p) {
    std::uint64_t w = 0;
    std::memcpy(&w, p, sizeof w);
    return w;
  }

  // The high bit of each byte of the word that equals `shade`; exact, as no
  // carry runs from one byte into the next.
  static std::uint64_t bytes_equal(std::uint64_t word, std::uint8_t shade) {
    const std::uint64_t t = word ^ (kOnes * shade);
    return ~(((t & kLow7) + kLow7) | t | kLow7);
  }

  template <bool kHeld>
  std::uint64_t hits(std::uint64_t word) const {
    const std::uint64_t held = matches(word);
    return kHeld ? held : ~held & kHigh;
  }

  std::uint64_t matches(std::uint64_t word) const {
    std::uint64_t held = 0;
    for (const std::uint8_t s : shades_) held |= bytes_equal(word, s);
    return held;
  }

  std::array<std::uint8_t, N> shades_;
};

}  // namespace makenc
