// Rows of a surface read sixteen pixels at a time: where the next pixel of
// a few shades lies in a row, without testing the pixels one by one. The
// fill finds the ends of its spans and the open runs beside them with it.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace makenc {

// A row is packed two pixels a byte, the left one in the low four bits, so
// a 64-bit word read from byte b holds pixels 2b .. 2b + 15, pixel 2b + k in
// bits 4k .. 4k + 3.
static_assert(std::endian::native == std::endian::little);

// The sixteen pixels of a packed row from byte `p` on.
inline std::uint64_t packed_word(const std::uint8_t* p) {
  std::uint64_t w = 0;
  std::memcpy(&w, p, sizeof w);
  return w;
}

// A shade in every pixel of a word.
inline std::uint64_t shade_pattern(std::uint8_t shade) { return std::uint64_t{0x1111111111111111} * shade; }

// The high bit of each four-bit pixel of the word that holds the pattern's
// shade; exact, as no carry runs from one pixel into the next.
inline std::uint64_t pixels_equal(std::uint64_t word, std::uint64_t pattern) {
  constexpr std::uint64_t kLow3 = 0x7777777777777777;
  const std::uint64_t t = word ^ pattern;
  return ~(((t & kLow3) + kLow3) | t | kLow3);
}

// Whether any pixel of the word holds the pattern's shade: the borrow of a
// pixel that holds it may mark the pixels after it too, but none is marked
// when no pixel holds it.
inline bool any_pixel_equal(std::uint64_t word, std::uint64_t pattern) {
  const std::uint64_t t = word ^ pattern;
  return ((t - 0x1111111111111111) & ~t & 0x8888888888888888) != 0;
}

// Looks for N shades (a shade given twice is looked for once) in a packed
// row. Words may be read up to eight bytes past the last pixel asked about;
// what they hold there is never taken.
template <std::size_t N>
class ShadeScan {
 public:
  explicit ShadeScan(const std::array<std::uint8_t, N>& shades) : shades_(shades) {
    for (std::size_t i = 0; i < N; ++i) patterns_[i] = shade_pattern(shades[i]);
  }

  bool holds(std::uint8_t v) const {
    for (const std::uint8_t s : shades_)
      if (v == s) return true;
    return false;
  }

  // The first x in [from, to) whose pixel holds one of the shades (kHeld) or
  // holds none of them; `to` when there is none.
  template <bool kHeld>
  int next(const std::uint8_t* row, int from, int to) const {
    if (from >= to) return to;
    int first = from / 2 * 2;  // the first pixel of the word
    std::uint64_t keep = kAll << (4 * (from - first));
    for (;;) {
      if (to - first < 16) keep &= ~(kAll << (4 * (to - first)));
      const std::uint64_t word = packed_word(row + first / 2);
      std::uint64_t hit = 0;
      if (kHeld)
        hit = any_held(word) ? matches(word) & keep : 0;
      else
        hit = ~matches(word) & kHigh & keep;
      if (hit != 0) return first + std::countr_zero(hit) / 4;
      if (to - first <= 16) return to;
      first += 16;
      keep = kAll;
    }
  }

  // The last x at or left of `from` whose pixel holds one of the shades, or
  // -1 when there is none.
  int last_held(const std::uint8_t* row, int from) const {
    while (from >= 0) {
      const int first = from >= 15 ? (from - 14) / 2 * 2 : 0;  // the word ends at `from` or just past it
      std::uint64_t held = matches(packed_word(row + first / 2));
      if (from - first < 15) held &= ~(kAll << (4 * (from - first + 1)));
      if (held != 0) return first + (63 - std::countl_zero(held)) / 4;
      from = first - 1;
    }
    return -1;
  }

 private:
  static constexpr std::uint64_t kAll = ~std::uint64_t{0};
  static constexpr std::uint64_t kHigh = 0x8888888888888888;

  std::uint64_t matches(std::uint64_t word) const {
    std::uint64_t held = 0;
    for (const std::uint64_t p : patterns_) held |= pixels_equal(word, p);
    return held;
  }
  bool any_held(std::uint64_t word) const {
    bool any = false;
    for (const std::uint64_t p : patterns_) any = any || any_pixel_equal(word, p);
    return any;
  }

  std::array<std::uint8_t, N> shades_;
  std::array<std::uint64_t, N> patterns_{};
};

}  // namespace makenc
