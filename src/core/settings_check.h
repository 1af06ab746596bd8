// Settings that would cut wrong stop the run before anything is written:
// the message names the line of "Zemlak/Bin/set.ini", the text as typed and
// what the line must hold. Each value is checked where it is used, since the
// user may correct it in the conditions dialog while the window stays open.
#pragma once

#include <cstdint>
#include <string>

#include "core/error.h"
#include "core/settings.h"

namespace makenc {

// The matching tolerance, at start-up before chaining: below 0 no two end
// points ever meet and every contour falls apart into its elements. 0 is
// kept: the ends must then meet on the grid.
Status check_tolerance(const Settings& settings);

// The approach length the lead-ins were placed with, at NC generation. A
// lead-in of length 0 or less is cut on the contour or on the part; one
// shorter than two steps of the grid 1/S may round to no move at all; one
// longer than kLongestApproach starts too far out for a machine to
// compensate the kerf at its end.
Status check_approach_length(const std::string& ini_Apr, std::int16_t S);

// A lead-in longer than this starts where a double holds positions no finer
// than 2^-13 (about 0.0001); the G-code interpreter's cutter compensation
// already fails there at 1E14 with a kerf of 0.02 and at 1E15 with 0.2.
inline constexpr double kLongestApproach = 1e12;

// The joint length, at NC generation with joints on: below 0 the closing
// move runs past the contact point into the part. 0 is kept: no joint.
Status check_joint_length(const Settings& settings);

// The joint length as the user typed it on line 8, for messages.
std::string joint_as_typed(const Settings& settings);

}  // namespace makenc
