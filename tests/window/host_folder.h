// A host folder in a temporary directory, as the host CAD program leaves it
// before starting the tool: the drawing, the settings and the templates.
#pragma once

#include <filesystem>
#include <string>

namespace makenc::testing {

class HostFolder {
 public:
  // A plate 100 x 50 with a hole of radius 10 at (30, 25) on ly0 (cutting
  // lines), and a point at (70, 40) on ly3.
  HostFolder();
  ~HostFolder();
  HostFolder(const HostFolder&) = delete;
  HostFolder& operator=(const HostFolder&) = delete;

  const std::filesystem::path& root() const { return root_; }
  std::filesystem::path path(const std::string& relative) const { return root_ / relative; }
  void write(const std::string& relative, const std::string& bytes) const;
  std::string read(const std::string& relative) const;

  static const std::string kDrawing;
  static const std::string kSettings;

 private:
  std::filesystem::path root_;
};

}  // namespace makenc::testing
