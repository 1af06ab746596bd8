// $HOME pointed at a test folder for as long as the object lives: a drawing
// without a name is written below it.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

namespace makenc::testing {

class ScopedHome {
 public:
  explicit ScopedHome(const std::filesystem::path& home) {
    if (const char* old = std::getenv("HOME")) old_ = old;
    setenv("HOME", home.c_str(), 1);
  }
  ~ScopedHome() {
    if (old_.empty())
      unsetenv("HOME");
    else
      setenv("HOME", old_.c_str(), 1);
  }
  ScopedHome(const ScopedHome&) = delete;
  ScopedHome& operator=(const ScopedHome&) = delete;

 private:
  std::string old_;
};

}  // namespace makenc::testing
