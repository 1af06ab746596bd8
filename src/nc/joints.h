// Joints (tabs): the closing move of a contour stops short of the contact
// point, so the cut part stays held in the sheet by a small bridge of
// material of about the joint length.
#pragma once

#include <cstdint>

#include "core/settings.h"

namespace makenc {

struct Point {
  double x = 0, y = 0;
};

// Which way an arc runs, as its G word says.
enum class ArcWord { none, G02, G03 };

// Nearest whole number, halves to the even neighbour.
double round_half_even(double v);

// The closing line runs from the last point reached P to C. Along an axis
// the stop is C moved back by j; a slanted line stops at a whole-number
// distance from P (L - j rounded), as the machine's operators measure it.
Point joint_on_line(Point P, Point C, double j);

// A circle is entered at its lowest point; j is the horizontal offset of the
// stop from there, on the side the tool comes back from.
Point joint_on_circle(Point centre, double r, ArcWord word, double j);
// The same for a circle entered at any point C of it: the stop lies j
// across from C, along the tangent, on the side the tool comes back from.
Point joint_on_circle(Point centre, double r, ArcWord word, double j, Point C);

// On an arc the stop is the angle atan(j / r) back from C, against the
// direction of travel given by the sign of D (the approach start's distance
// from the centre less the contact point's): D < 0 runs counter-clockwise,
// D > 0 clockwise, and D = 0 leaves no gap.
Point joint_on_arc(Point centre, double r, Point C, double D, double j);

// Whether a joint is left: only with joints on, always for the outer
// contour (the part would fall through the grid), and for holes and loops
// whose size reaches the third condition row; never on a circle whose
// radius is below the joint length, which has no room for one.
struct JointQuestion {
  bool joints = false;  // "ジョイントあり" ticked
  bool Is_outer = false;
  bool is_circle = false;
  double radius = 0;  // circles
  double length = 0;  // loops: the approach element's length
};
bool leaves_joint(const JointQuestion& q, const Settings& settings);
// The same with the radius and length thresholds of the third condition
// row already read as numbers.
bool leaves_joint(const JointQuestion& q, const Settings& settings, double r_min, double l_min);

}  // namespace makenc
