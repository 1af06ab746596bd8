// What the fuzz targets check whatever the input, and how they cut their
// bytes into the files they stand for.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "assign/assignment.h"
#include "core/drawing.h"

namespace makenc::fuzz {

// Names what failed on standard error and aborts, so the fuzzer keeps the
// input.
[[noreturn]] void broken(const char* what);

// Splits the fuzzer's bytes at NUL bytes and returns piece `index` (empty
// when there are fewer pieces).
std::string piece(std::string_view bytes, std::size_t index);

// The chained layer tables: every row of a contour stands next to the others
// of its contour, the contours are numbered 1 to drawing.Cnt_total across
// the layers in order, and rows of no contour come after the last contour.
void check_contours(const Drawing& drawing);

// The cut list: each contour record of Apr_dat appears once in Ord_dat, no
// entry is missing, and every lead-in starts at a finite point.
void check_cut_list(const Assignment& assignment);

}  // namespace makenc::fuzz
