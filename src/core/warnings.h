// Something a run did that the shop should look at although the program is
// written: one line per contour, naming it. The window shows them, the
// batch run prints them on standard error and still succeeds.
#pragma once

#include <string>
#include <vector>

namespace makenc {

struct Warning {
  std::string message;  // UTF-8, one line
};
using Warnings = std::vector<Warning>;

// How a warning names a contour: "contour 3 on layer 0", as the errors of
// NC generation do.
inline std::string contour_reference(const std::string& layer, const std::string& id) {
  return "contour " + id + " on layer " + layer;
}

}  // namespace makenc
