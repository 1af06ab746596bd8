// A host folder for one test, as the host CAD program leaves it before
// starting the tool: "JWC_TEMP.TXT" and the system's folder "Zemlak\Bin",
// removed with everything in it at the end.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/drawing.h"
#include "core/settings.h"
#include "import/startup.h"
#include "support/files.h"

namespace makenc::test {

class HostFolder : public TempFolder {
 public:
  enum class Holds {
    nothing,  // an empty "Zemlak\Bin"
    plate,    // kDrawing, kSettings and a template of each kind
  };
  explicit HostFolder(Holds holds = Holds::nothing);

  // The interchange file as the host writes it: CR LF after every line.
  void drawing(const std::vector<std::string>& lines) const;

  // Start-up on the folder with the default settings, read into `settings`.
  Result<StartUp> start();
  // Start-up that must succeed.
  StartUp started();

  Settings settings;

  // A plate 100 x 50 with a hole of radius 10 at (30, 25) on ly0 (cutting
  // lines), and a point at (70, 40) on ly3.
  static const std::string kDrawing;
  // The shipped machining conditions.
  static const std::string kSettings;
};

// The text form of one cell of layer k.
inline std::string cell(const Drawing& d, int k, std::size_t row, std::size_t column) {
  return d.layer(k).at(row, column).text_form();
}

}  // namespace makenc::test
