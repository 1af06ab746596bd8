#include "import/measure.h"

#include <cmath>

#include "core/constants.h"

namespace makenc {
namespace {

double radians(double degrees) { return degrees * kPi / 180; }

// Angles are kept in 0..360 only as far as one turn added to a negative
// value brings them; an end below the start means the arc passes 0°.
Cell arc_angle(const Cell& angle, const Cell& tilt) {
  double a = angle.number() + tilt.number();
  if (a < 0) a += 360;
  return Cell(a);
}

void load_entity(const Table& W_dat, EntityCells& e) {
  const std::size_t r = static_cast<std::size_t>(e.Ent_no);
  const Cell& kind = W_dat.at(r, col::kind);
  if (kind == "li") {
    e.Li_x1 = W_dat.at(r, 1);
    e.Li_y1 = W_dat.at(r, 2);
    e.Li_x2 = W_dat.at(r, 3);
    e.Li_y2 = W_dat.at(r, 4);
    e.Ent_kind = 1;
  } else if (kind == "ci" || kind == "cci") {
    e.Ci_x = W_dat.at(r, 1);
    e.Ci_y = W_dat.at(r, 2);
    e.Ci_r = W_dat.at(r, 3);
    e.Ent_kind = 2;
    if (kind == "cci") {
      e.Ci_s = arc_angle(W_dat.at(r, 4), W_dat.at(r, 7));
      e.Ci_e = arc_angle(W_dat.at(r, 5), W_dat.at(r, 7));
      e.Ent_kind = 3;
    }
  } else if (kind == "pt") {
    e.Li_x1 = W_dat.at(r, 1);
    e.Li_y1 = W_dat.at(r, 2);
    e.Ent_kind = 4;
  }
}

void measure_circle(Table& W_dat, std::size_t r, const EntityCells& e) {
  W_dat.at(r, col::length) = Cell(2 * (kPi * e.Ci_r.number()));
  W_dat.at(r, col::kind) = Cell("ci");
  for (int c = 1; c <= 4; ++c) W_dat.at(r, c) = Cell("");
  W_dat.at(r, col::cx) = e.Ci_x;
  W_dat.at(r, col::cy) = e.Ci_y;
  W_dat.at(r, col::radius) = e.Ci_r;
  for (int c = col::start_angle; c <= col::tilt; ++c) W_dat.at(r, c) = Cell("");
}

// An arc whose end meets its start sweeps nothing and has no length.
double arc_length(double radius, double s, double e) {
  const double sweep_end = e < s ? e + 360 : e;
  if (sweep_end == s) return 0;
  return (2 * (kPi * radius)) / (360 / (sweep_end - s));
}

void measure_arc(Table& W_dat, std::size_t r, EntityCells& e) {
  const double x = e.Ci_x.number();
  const double y = e.Ci_y.number();
  const double rad = e.Ci_r.number();
  const double s = e.Ci_s.number();
  const double end = e.Ci_e.number();
  e.P_x1 = Cell(x + rad * std::cos(radians(s)));
  e.P_y1 = Cell(y + rad * std::sin(radians(s)));
  e.P_x2 = Cell(x + rad * std::cos(radians(end)));
  e.P_y2 = Cell(y + rad * std::sin(radians(end)));
  W_dat.at(r, col::length) = Cell(arc_length(rad, s, end));
  W_dat.at(r, col::kind) = Cell("cci");
  W_dat.at(r, col::x1) = e.P_x1;
  W_dat.at(r, col::y1) = e.P_y1;
  W_dat.at(r, col::x2) = e.P_x2;
  W_dat.at(r, col::y2) = e.P_y2;
  W_dat.at(r, col::cx) = e.Ci_x;
  W_dat.at(r, col::cy) = e.Ci_y;
  W_dat.at(r, col::radius) = e.Ci_r;
  W_dat.at(r, col::start_angle) = e.Ci_s;
  W_dat.at(r, col::end_angle) = e.Ci_e;
  W_dat.at(r, col::tilt) = Cell(0.0);
}

}  // namespace

void measure_entity(Table& W_dat, EntityCells& e) {
  const std::size_t r = static_cast<std::size_t>(e.Ent_no);
  switch (e.Ent_kind) {
    case 1: {
      const double dx = e.Li_x1.number() - e.Li_x2.number();
      const double dy = e.Li_y1.number() - e.Li_y2.number();
      W_dat.at(r, col::length) = Cell(std::sqrt(dx * dx + dy * dy));
      break;
    }
    case 2: measure_circle(W_dat, r, e); break;
    case 3: measure_arc(W_dat, r, e); break;
    case 4: W_dat.at(r, col::kind) = Cell("pt"); break;
    default: break;
  }
}

void measure_entities(Table& W_dat, EntityCells& e) {
  e.Ent_kind = 0;
  for (e.Ent_no = 0; static_cast<std::size_t>(e.Ent_no) != W_dat.last_row(); ++e.Ent_no) {
    load_entity(W_dat, e);
    measure_entity(W_dat, e);
    e.Ent_kind = 0;
  }
}

void measure_layers(Drawing& drawing) {
  EntityCells e;
  for (int k = 0; k < kLayerCount; ++k)
    if (drawing.has_layer(k)) measure_entities(drawing.layer(k), e);
}

}  // namespace makenc
