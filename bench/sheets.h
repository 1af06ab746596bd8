// Generated nested sheets for the benchmarks: host folders written by
// bench/tools/make_sheet.py into a temporary folder that is removed at exit.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <string>

namespace makenc::bench {

class Sheets {
 public:
  ~Sheets() {
    std::error_code ec;
    if (!root_.empty()) std::filesystem::remove_all(root_, ec);
  }
  // The host folder of a sheet of `parts` parts, or empty when the
  // generator could not run. With `shuffle_all` the records of each layer
  // are shuffled across the whole sheet instead of within each part.
  std::filesystem::path get(int parts, bool shuffle_all = false) {
    const std::string key = std::to_string(parts) + (shuffle_all ? "-all" : "");
    auto it = made_.find(key);
    if (it != made_.end()) return it->second;
    if (root_.empty())
      root_ =
          std::filesystem::temp_directory_path() / ("makenc-bench-" + std::to_string(std::random_device{}()));
    const std::filesystem::path out = root_ / key;
    const std::string cmd = "python3 \"" MAKENC_MAKE_SHEET "\" --parts " + std::to_string(parts) +
                            " --out \"" + out.string() + "\"" + (shuffle_all ? " --shuffle-all" : "") +
                            " > /dev/null";
    const std::filesystem::path made = std::system(cmd.c_str()) == 0 ? out : std::filesystem::path();
    made_[key] = made;
    return made;
  }

 private:
  std::filesystem::path root_;
  std::map<std::string, std::filesystem::path> made_;
};

inline Sheets& sheets() {
  static Sheets s;
  return s;
}

}  // namespace makenc::bench
