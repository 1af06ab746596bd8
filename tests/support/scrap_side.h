// Judges the lead-ins of a cut list by exact geometry, not by the material
// map: a lead-in's start is scrap when an even number of the closed
// contours that are cut contain it (the outline may be left out, as when it
// is the sheet's edge and not cut).
#pragma once

#include <string>
#include <vector>

#include "assign/assignment.h"
#include "core/drawing.h"

namespace makenc::test {

struct LeadInStart {
  std::string layer, contour;  // as the cut list holds them
  double x = 0, y = 0;         // the approach point, in drawing units after translation
  int containing = 0;          // closed cut contours around it
};

// Every lead-in of the cut list (cut contours of kind "loop" or "circle")
// whose start lies in material.
std::vector<LeadInStart> lead_ins_in_material(const Drawing& drawing, const Assignment& assignment,
                                              bool outline_is_cut = true);

// How many closed cut contours of the cut list contain the point.
int containing_contours(const Drawing& drawing, const Assignment& assignment, double x, double y,
                        bool outline_is_cut = true);

}  // namespace makenc::test
