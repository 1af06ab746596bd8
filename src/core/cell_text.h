// The bytes of a text cell. Nearly every text in the tables is short (a
// kind "li", a colour code "2", a mark "G", a number as the host wrote it),
// so up to 15 bytes are held in place and only longer texts go to the heap.
//
// The 16 bytes are laid out so that a cell can share them: byte 15 is the
// count of a text held in place (0..15) or kHeap for a text on the heap,
// whose pointer is in bytes 0..7 and its size in bytes 8..11. A cell uses
// the other values of byte 15 to tell what else it holds.
#pragma once

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string_view>
#include <utility>

namespace makenc {

struct TextBytes {
  static constexpr std::size_t kSmall = 15;  // bytes held in place; byte 15 is their count
  static constexpr unsigned char kHeap = 0xFF;

  alignas(8) char bytes[16];

  // All 16 bytes zero: the empty text held in place.
  TextBytes() noexcept { put_words(0, 0); }
  // Copied as two words rather than as one block of 16 bytes: a block copy
  // is a call to memcpy in a build with the address sanitizer, and cells
  // are copied, moved and swapped everywhere.
  TextBytes(const TextBytes& o) noexcept { put_words(o.word(0), o.word(1)); }
  TextBytes& operator=(const TextBytes& o) noexcept {
    put_words(o.word(0), o.word(1));
    return *this;
  }

  unsigned char mark() const { return static_cast<unsigned char>(bytes[kSmall]); }
  void set_mark(unsigned char m) { bytes[kSmall] = static_cast<char>(m); }
  bool is_small_text() const { return mark() <= kSmall; }
  bool is_heap_text() const { return mark() == kHeap; }

  char* heap_data() const {
    char* p = nullptr;
    std::memcpy(&p, bytes, sizeof p);
    return p;
  }
  std::size_t heap_size() const {
    std::uint32_t n = 0;
    std::memcpy(&n, bytes + sizeof(char*), sizeof n);
    return n;
  }
  // Only for a text, small or on the heap.
  std::string_view text_view() const {
    if (is_small_text()) return {bytes, mark()};
    return {heap_data(), heap_size()};
  }
  // Writes a text over bytes that hold no heap text.
  void put_text(std::string_view s) {
    if (s.size() <= kSmall) {
      if (!s.empty()) std::memcpy(bytes, s.data(), s.size());
      set_mark(static_cast<unsigned char>(s.size()));
      return;
    }
    if (s.size() > UINT32_MAX) throw std::length_error("a text cell of more than 4 GB");
    char* p = new char[s.size()];
    std::memcpy(p, s.data(), s.size());
    const auto n = static_cast<std::uint32_t>(s.size());
    std::memcpy(bytes, &p, sizeof p);
    std::memcpy(bytes + sizeof(char*), &n, sizeof n);
    set_mark(kHeap);
  }
  void release() {
    if (is_heap_text()) delete[] heap_data();
  }

 private:
  std::uint64_t word(std::size_t i) const {
    std::uint64_t w = 0;
    std::memcpy(&w, bytes + 8 * i, sizeof w);
    return w;
  }
  void put_words(std::uint64_t first, std::uint64_t second) {
    std::memcpy(bytes, &first, sizeof first);
    std::memcpy(bytes + 8, &second, sizeof second);
  }
};

class CellText {
 public:
  CellText() noexcept { raw_.set_mark(0); }
  explicit CellText(std::string_view s) : CellText() { raw_.put_text(s); }
  CellText(const CellText& o) : CellText() { raw_.put_text(o.view()); }
  CellText(CellText&& o) noexcept : raw_(o.raw_) { o.raw_.set_mark(0); }
  CellText& operator=(const CellText& o) {
    if (this != &o) {
      CellText copy(o);
      std::swap(raw_, copy.raw_);
    }
    return *this;
  }
  CellText& operator=(CellText&& o) noexcept {
    if (this != &o) {
      raw_.release();
      raw_ = o.raw_;
      o.raw_.set_mark(0);
    }
    return *this;
  }
  ~CellText() { raw_.release(); }

  std::string_view view() const { return raw_.text_view(); }

 private:
  TextBytes raw_{};
};

}  // namespace makenc
