// The command line of makenc. Without arguments the program is the desktop
// tool the host CAD program starts; the other modes run the same stages
// without a window.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/drawing.h"
#include "core/error.h"

namespace makenc {

enum class Mode { Desktop, Batch, DumpTables, DumpCutlist, CheckNc, Help, Version };

// A left click (paint) or a right click (clear) at a point of the drawing,
// in drawing units after translation.
struct PaintStep {
  bool paint = true;
  double x = 0, y = 0;
  std::string given;  // the option and its value as typed, for messages
};

struct CommandLine {
  Mode mode = Mode::Desktop;
  // The layer boxes to tick; nothing given ticks every layer that holds
  // entities, as start-up does.
  std::optional<LayerTicks> layers;
  bool no_joints = false;
  bool check_drawing = false;
  bool no_outline = false;
  // "全部品を材料": every part of a nested sheet is material.
  bool nested = false;
  // Painting by hand, in the order given, before the assignment run.
  std::vector<PaintStep> painting;
  // The operator's edits after the assignment run, one a line (edit_file.h);
  // empty: none.
  std::string edits;
  std::string preview_png;  // empty: none
  std::string report;       // the job summary as JSON; empty: none
  // With --preview-png: the rectangle X0, Y0, X1, Y1 of the drawing to show
  // (drawing units), and each contour's place in the cutting order.
  std::optional<std::array<double, 4>> view;
  bool order_numbers = false;
  // --check-nc: the NC program to judge, as typed (UTF-8).
  std::string check_nc;
};

Result<CommandLine> parse_command_line(const std::vector<std::string>& args);

std::string usage_text();

// "makenc <version>" and a line end; the version is the build's project version.
std::string version_text();

}  // namespace makenc
