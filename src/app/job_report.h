// The job summary of a batch run as a JSON file, for the shop's own
// programs: what the job cuts and marks, with the layers, the drawing and
// the NC program it belongs to.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "core/drawing.h"
#include "nc/contour_moves.h"

namespace makenc {

struct JobReport {
  const JobSummary& job;
  const LayerTicks& layers;  // the ticked layers that hold entities
  std::string drawing;       // the drawing's name, "" when unnamed (UTF-8)
  std::string nc_file;       // the NC program as the completion message names it (UTF-8)
  // How many faults of each kind the check of the program found, by name.
  std::vector<std::pair<std::string, std::size_t>> faults;
};

// One JSON object, UTF-8, one member a line, CR LF line ends; the lengths
// in drawing units with three decimals.
std::string report_json(const JobReport& report);

}  // namespace makenc
