#include "core/file_layer.h"

#include <cerrno>
#include <chrono>
#include <exception>
#include <random>

namespace makenc {

namespace {

std::error_code last_error(int fallback = EIO) {
  // A short write may leave errno unset: it is still a failure.
  return {errno != 0 ? errno : fallback, std::generic_category()};
}

unsigned long long random_number() {
  try {
    std::random_device rd;
    return rd();
  } catch (const std::exception&) {
    // Without a source of randomness the clock still tells runs apart.
    return static_cast<unsigned long long>(std::chrono::system_clock::now().time_since_epoch().count());
  }
}

}  // namespace

std::string FileLayer::unique_tag() {
  // The process number keeps two runs at the same time apart; the random
  // part keeps apart a crashed run's leftover and a later run that happens
  // to get the same process number.
  static constexpr char kHex[] = "0123456789abcdef";
  auto hex = [](unsigned long long v) {
    std::string s;
    do {
      s.insert(s.begin(), kHex[v % 16]);
      v /= 16;
    } while (v != 0);
    return s;
  };
  return hex(process_number()) + "-" + hex(random_number());
}

std::error_code FileLayer::write(std::FILE* file, std::string_view bytes) {
  errno = 0;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) return last_error();
  return {};
}

std::error_code FileLayer::flush(std::FILE* file) {
  errno = 0;
  if (std::fflush(file) != 0) return last_error();
  return {};
}

std::error_code FileLayer::close(std::FILE* file) {
  errno = 0;
  if (std::fclose(file) != 0) return last_error();
  return {};
}

std::error_code FileLayer::remove(const std::filesystem::path& path) {
  std::error_code ec;
  std::filesystem::remove(path, ec);
  return ec;
}

FileLayer& system_files() {
  static FileLayer files;
  return files;
}

}  // namespace makenc
