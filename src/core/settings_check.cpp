#include "core/settings_check.h"

#include <cmath>

#include "core/cell.h"
#include "core/number_text.h"
#include "core/text.h"

namespace makenc {

namespace {

// The file as the user finds it in the host folder, whatever the system's
// separator.
constexpr const char* kSetIni = "Zemlak/Bin/set.ini";

// Lines of the file, counted from 1.
constexpr int kToleranceLine = 1;
constexpr int kApproachLine = 2;
constexpr int kJointLine = 8;

// Two steps of the grid: a lead-in of any direction then keeps at least one
// whole step on one axis after both of its ends are rounded.
constexpr double kShortestApproachSteps = 2;

Error refused(int line, const std::string& what, const std::string& typed, const std::string& expected) {
  return Error{std::string(kSetIni) + " line " + std::to_string(line) + ": the " + what + " \"" +
               cp932_to_utf8(excerpt(typed, kExcerptBytes)) + "\" " + expected};
}

}  // namespace

// The joint length is held in single precision; the line it came from is
// quoted as long as it still gives that value.
std::string joint_as_typed(const Settings& s) {
  double typed = 0;
  if (parse_strict_number(s.ini_joint_text, typed) && static_cast<float>(typed) == s.ini_joint)
    return s.ini_joint_text;
  return single_text(s.ini_joint);
}

Status check_tolerance(const Settings& settings) {
  if (settings.tolerance() < 0)
    return refused(kToleranceLine, "matching tolerance", settings.ini_GOSA, "is not a number of 0 or above");
  return ok_status();
}

Status check_approach_length(const std::string& ini_Apr, std::int16_t S) {
  // The text is read as the placement read it: a leading number counts.
  const double L = numeric_value(ini_Apr);
  if (!(L > 0)) return refused(kApproachLine, "approach length", ini_Apr, "is not a number above 0");
  const double shortest = kShortestApproachSteps / S;
  if (L < shortest)
    return refused(kApproachLine, "approach length", ini_Apr,
                   "is below " + double_text(shortest) + ", two steps of the grid 1/" + std::to_string(S) +
                       ": the lead-in could round to no move");
  if (L > kLongestApproach)
    return refused(kApproachLine, "approach length", ini_Apr,
                   "is above " + double_text(kLongestApproach) +
                       ": a lead-in that long starts too far out for the machine to compensate the kerf");
  return ok_status();
}

Status check_joint_length(const Settings& settings) {
  if (settings.ini_joint < 0)
    return refused(kJointLine, "joint length", joint_as_typed(settings), "is not a number of 0 or above");
  return ok_status();
}

}  // namespace makenc
