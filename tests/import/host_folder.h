// A host folder for one test: "JWC_TEMP.TXT" and the system's folder
// "Zemlak\Bin", removed with everything in it at the end.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "core/drawing.h"
#include "core/text.h"
#include "import/startup.h"

namespace makenc::testing {

class HostFolder {
 public:
  HostFolder() {
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() / ("makenc-host-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(path_ / "Zemlak" / "Bin");
  }
  ~HostFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  HostFolder(const HostFolder&) = delete;
  HostFolder& operator=(const HostFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

  void write(const std::filesystem::path& relative, const std::string& bytes) const {
    std::ofstream out(path_ / relative, std::ios::binary);
    out << bytes;
  }
  std::string read(const std::filesystem::path& relative) const {
    std::ifstream in(path_ / relative, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  // The interchange file as the host writes it: CR LF after every line.
  void drawing(const std::vector<std::string>& lines) const { write("JWC_TEMP.TXT", join_crlf(lines)); }

  Result<StartUp> start() {
    settings = Settings{};
    return start_up(path_, settings);
  }
  // Start-up that must succeed.
  StartUp started() {
    auto r = start();
    EXPECT_TRUE(r.ok()) << (r.ok() ? "" : r.error().message);
    return r.ok() ? std::move(r.value()) : StartUp{};
  }

  Settings settings;

 private:
  std::filesystem::path path_;
};

// The text form of one cell of layer k.
inline std::string cell(const Drawing& d, int k, std::size_t row, std::size_t column) {
  return d.layer(k).at(row, column).text_form();
}

}  // namespace makenc::testing
