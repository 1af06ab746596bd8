#include "support/files.h"

#include <unistd.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <random>

namespace makenc::test {

namespace fs = std::filesystem;

std::string file_bytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void write_file(const fs::path& file, const std::string& bytes) {
  if (file.has_parent_path()) fs::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << bytes;
}

TempFolder::TempFolder() {
  static std::atomic<unsigned> serial{0};
  std::random_device rd;
  path_ = fs::temp_directory_path() / ("makenc-test-" + std::to_string(::getpid()) + "-" +
                                       std::to_string(serial++) + "-" + std::to_string(rd()));
  fs::create_directories(path_);
}

TempFolder::~TempFolder() {
  std::error_code ec;
  // A test may have left the folder read-only.
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(path_, ec);
}

}  // namespace makenc::test
