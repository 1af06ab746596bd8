// Files and folders for tests: a file's bytes, a folder of its own removed
// with everything in it, and $HOME pointed at a test folder.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

namespace makenc::test {

// A file's bytes as they are on disk; empty when it cannot be read.
std::string file_bytes(const std::filesystem::path& file);

// Writes the bytes as they are, creating the folders on the way.
void write_file(const std::filesystem::path& file, const std::string& bytes);

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path path(const std::filesystem::path& relative) const { return path_ / relative; }
  void write(const std::filesystem::path& relative, const std::string& bytes) const {
    write_file(path_ / relative, bytes);
  }
  std::string read(const std::filesystem::path& relative) const { return file_bytes(path_ / relative); }

 private:
  std::filesystem::path path_;
};

}  // namespace makenc::test
