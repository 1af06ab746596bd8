// The layer tables, the contour count and the bounding box as plain text,
// one table row a line, for comparing start-up results outside the program.
#pragma once

#include <string>

#include "core/drawing.h"

namespace makenc {

// For each layer that has a table: "ly<k>", then one line per row (the spare
// row left out): the row number and columns 0..20, TAB-separated, each the
// cell's text form. Then "Cnt_total" and "bbox" lines. LF line ends.
std::string dump_tables(const Drawing& drawing);

}  // namespace makenc
