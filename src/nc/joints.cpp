#include "nc/joints.h"

#include <cmath>

#include "core/constants.h"

namespace makenc {

double round_half_even(double v) {
  const double down = std::floor(v);
  const double rest = v - down;
  if (rest < 0.5) return down;
  if (rest > 0.5) return down + 1;
  return std::fmod(down, 2.0) == 0 ? down : down + 1;
}

Point joint_on_line(Point P, Point C, double j) {
  const double dx = C.x - P.x;
  const double dy = C.y - P.y;
  if (dx == 0 && dy == 0) return C;
  if (dx == 0) return {C.x, dy > 0 ? C.y - j : C.y + j};
  if (dy == 0) return {dx > 0 ? C.x - j : C.x + j, C.y};
  const double L = std::sqrt(dx * dx + dy * dy);
  const double L_short = round_half_even(L - j);
  return {P.x + dx / L * L_short, P.y + dy / L * L_short};
}

Point joint_on_circle(Point centre, double r, ArcWord word, double j) {
  const double below = centre.y - std::sqrt(r * r - j * j);
  return {word == ArcWord::G02 ? centre.x + j : centre.x - j, below};
}

Point joint_on_circle(Point centre, double r, ArcWord word, double j, Point C) {
  const double dx = C.x - centre.x, dy = C.y - centre.y;
  const double d = std::sqrt(dx * dx + dy * dy);
  if (dx == 0 && dy < 0) return joint_on_circle(centre, r, word, j);
  if (!(d > 0)) return joint_on_circle(centre, r, word, j);
  const double ux = dx / d, uy = dy / d;
  // Clockwise (G02) the tool comes back to C from the side of the tangent
  // (-uy, ux); counter-clockwise from the other.
  const double side = word == ArcWord::G02 ? 1 : -1;
  const double along = std::sqrt(r * r - j * j);
  return {centre.x + along * ux - side * j * uy, centre.y + along * uy + side * j * ux};
}

namespace {

// The axis directions are exact so that a contact point straight above or
// beside the centre gives a stop point without rounding noise.
double direction_angle(Point centre, Point C) {
  const double dx = C.x - centre.x;
  const double dy = C.y - centre.y;
  if (dx == 0 && dy > 0) return kPi / 2;
  if (dx == 0 && dy < 0) return 3 * kPi / 2;
  if (dy == 0 && dx > 0) return 0;
  if (dy == 0 && dx < 0) return kPi;
  return std::atan2(dy, dx);
}

}  // namespace

Point joint_on_arc(Point centre, double r, Point C, double D, double j) {
  double angle = direction_angle(centre, C);
  const double delta = std::atan(j / r);
  if (D < 0) angle -= delta;
  if (D > 0) angle += delta;
  return {centre.x + r * std::cos(angle), centre.y + r * std::sin(angle)};
}

bool leaves_joint(const JointQuestion& q, const Settings& settings) {
  return leaves_joint(q, settings, settings.ini_Cond[2].r_min(), settings.ini_Cond[2].l_min());
}

bool leaves_joint(const JointQuestion& q, const Settings& settings, double r_min, double l_min) {
  if (!q.joints) return false;
  // The joint is measured across a circle from its lowest point: a circle
  // of a smaller radius has no room for it and is cut whole.
  if (q.is_circle && !(q.radius >= settings.ini_joint)) return false;
  if (q.Is_outer) return true;
  if (q.is_circle) return q.radius >= r_min;
  return q.length >= l_min;
}

}  // namespace makenc
