// The check drawing handed back to the host: every approach as a line on
// layer A and every rapid move as a line on layer 9, in drawing
// coordinates, so the user sees the cutting order and the entries.
#pragma once

#include <string>

#include "assign/assignment.h"
#include "core/drawing.h"

namespace makenc {

// Appends the records of the whole cut list to `bytes`, each line with its
// CR LF.
void put_check_drawing(std::string& bytes, const Drawing& drawing, const Table& Ord_dat);

}  // namespace makenc
