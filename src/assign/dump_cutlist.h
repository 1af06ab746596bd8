// The cut list as text, one contour record a line, for checking a run
// from the command line.
#pragma once

#include <string>

#include "assign/assignment.h"

namespace makenc {

// For each row r of the cut list but the spare one: r and the record's
// columns 0..10, separated by TAB, each in the cell's text form; LF ends
// every line.
std::string dump_cutlist(const Assignment& assignment);

}  // namespace makenc
