// $HOME for one test (POSIX): a drawing without a name is written below it.
#pragma once

#include <filesystem>
#include <string>

namespace makenc::test {

// $HOME pointed at a folder for as long as the object lives: a drawing
// without a name is written below it.
class ScopedHome {
 public:
  explicit ScopedHome(const std::filesystem::path& home);
  ~ScopedHome();
  ScopedHome(const ScopedHome&) = delete;
  ScopedHome& operator=(const ScopedHome&) = delete;

 private:
  std::string old_;
  bool had_ = false;
};

}  // namespace makenc::test
