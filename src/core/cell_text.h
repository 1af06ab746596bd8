// The bytes of a text cell. Nearly every text in the tables is short (a
// kind "li", a colour code "2", a mark "G", a number as the host wrote it),
// so up to 15 bytes are held in the cell itself and only longer texts go to
// the heap: a cell then takes 24 bytes instead of 40, and a sheet of a
// hundred thousand rows of 21 cells fits in well under half the memory.
#pragma once

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string_view>

namespace makenc {

class CellText {
 public:
  CellText() noexcept = default;
  explicit CellText(std::string_view s) { assign(s); }
  CellText(const CellText& o) { assign(o.view()); }
  CellText(CellText&& o) noexcept : raw_(o.raw_) { o.set_small(0); }
  CellText& operator=(const CellText& o) {
    if (this != &o) {
      CellText copy(o);
      swap(copy);
    }
    return *this;
  }
  CellText& operator=(CellText&& o) noexcept {
    if (this != &o) {
      release();
      raw_ = o.raw_;
      o.set_small(0);
    }
    return *this;
  }
  ~CellText() { release(); }

  std::string_view view() const {
    if (is_small()) return {raw_.bytes, static_cast<std::size_t>(raw_.bytes[kSmall])};
    return {heap_data(), heap_size()};
  }

 private:
  static constexpr std::size_t kSmall = 15;  // bytes held in place; byte 15 is their count
  static constexpr unsigned char kHeap = 0xFF;

  struct Raw {
    char bytes[16];
  };

  bool is_small() const { return static_cast<unsigned char>(raw_.bytes[kSmall]) != kHeap; }
  void set_small(std::size_t n) { raw_.bytes[kSmall] = static_cast<char>(n); }
  // A heap text keeps its pointer in bytes 0..7 and its size in bytes 8..11.
  char* heap_data() const {
    char* p = nullptr;
    std::memcpy(&p, raw_.bytes, sizeof p);
    return p;
  }
  std::size_t heap_size() const {
    std::uint32_t n = 0;
    std::memcpy(&n, raw_.bytes + sizeof(char*), sizeof n);
    return n;
  }
  void assign(std::string_view s) {
    if (s.size() <= kSmall) {
      std::memcpy(raw_.bytes, s.data(), s.size());
      set_small(s.size());
      return;
    }
    if (s.size() > UINT32_MAX) throw std::length_error("a text cell of more than 4 GB");
    char* p = new char[s.size()];
    std::memcpy(p, s.data(), s.size());
    const auto n = static_cast<std::uint32_t>(s.size());
    std::memcpy(raw_.bytes, &p, sizeof p);
    std::memcpy(raw_.bytes + sizeof(char*), &n, sizeof n);
    raw_.bytes[kSmall] = static_cast<char>(kHeap);
  }
  void release() {
    if (!is_small()) delete[] heap_data();
  }
  void swap(CellText& o) noexcept {
    const Raw t = raw_;
    raw_ = o.raw_;
    o.raw_ = t;
  }

  Raw raw_{};
};

}  // namespace makenc
