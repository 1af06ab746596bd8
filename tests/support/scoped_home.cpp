#include "support/scoped_home.h"

#include <cstdlib>

namespace makenc::test {

namespace fs = std::filesystem;

ScopedHome::ScopedHome(const fs::path& home) {
  if (const char* old = std::getenv("HOME")) {
    old_ = old;
    had_ = true;
  }
  setenv("HOME", home.c_str(), 1);
}

ScopedHome::~ScopedHome() {
  if (had_)
    setenv("HOME", old_.c_str(), 1);
  else
    unsetenv("HOME");
}

}  // namespace makenc::test
