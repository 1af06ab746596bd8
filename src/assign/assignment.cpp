#include "assign/assignment.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <string>

#include "assign/cut_order.h"
#include "assign/enclosures.h"
#include "assign/placement.h"
#include "geometry/regions.h"
#include "geometry/sides.h"
#include "preview/material_map.h"

namespace makenc {

namespace {

// On a nested sheet with every part material, a part's outline is a closed
// cut contour with material inside: one inside an even number of the
// contours the map counts (the sheet's edge is not counted).
void mark_part_outlines(Assignment& assignment, const Enclosures& enclosures, MaterialChoice material) {
  const Table& A = assignment.Apr_dat;
  const std::size_t edge = A.rows() >= 2 ? A.rows() - 2 : A.rows();
  const bool edge_is_outline = edge < A.rows() && A.at(edge, rec::outline) == "G";
  assignment.Ord_part_outline.assign(assignment.Ord_apr_row.size(), 0);
  for (std::size_t p = 0; p < assignment.Ord_apr_row.size(); ++p) {
    const std::size_t k = assignment.Ord_apr_row[p];
    if (k >= A.rows() || !(A.at(k, rec::op) == "cut")) continue;
    if (!(A.at(k, rec::kind) == "loop") && !(A.at(k, rec::kind) == "circle")) continue;
    if (material.outline_is_edge && edge_is_outline && k == edge) continue;
    std::size_t counted = 0;
    for (const std::size_t c : enclosures.around(k))
      if (!(material.outline_is_edge && edge_is_outline && c == edge)) ++counted;
    assignment.Ord_part_outline[p] = counted % 2 == 0 ? 1 : 0;
  }
}

}  // namespace

void run_approach_assignment(Assignment& assignment, Preview& preview, MaterialMap& map,
                             const Drawing& drawing, const Settings& settings, const LayerTicks& ticked,
                             MaterialChoice material, bool shown) {
  const std::int64_t Cnt_total = std::max<std::int64_t>(drawing.Cnt_total, 0);
  assignment.Apr_cnt = 0;
  assignment.ini_Apr = settings.ini_Apr;
  assignment.Apr_dat = Table(static_cast<std::size_t>(Cnt_total), rec::last);
  assignment.Apr_span.assign(assignment.Apr_dat.rows(), ContourSpan{});
  assignment.warnings.clear();
  // Material the user painted by hand is the map; a redraw since has
  // discarded it.
  const bool painted = preview.Mus_clic == 1 && map.ready;
  assignment.painted_by_hand = painted;
  const DecisionFit fit = decision_fit(preview, drawing, settings);
  auto regions = std::make_shared<const Regions>(drawing, ticked, settings);
  Enclosures enclosures;
  assignment.drawn.reset();
  {
    // The lead-in index goes before the order is planned, at the run's peak,
    // unless the program's arc lead-ins ask it again.
    auto kept = std::make_shared<const DrawnElements>(drawing, ticked);
    const DrawnElements& drawn = *kept;
    if (settings.shop.lead_in == LeadInShape::arc) {
      assignment.drawn = kept;
      assignment.drawn_layers = ticked;
    }
    if (!painted) {
      map.material.clear();
      if (material.every_part) {
        map.material.odd_depth = true;
        if (material.outline_is_edge) map.material.uncounted = regions->outline();
      } else {
        find_first_material(map.material, *regions, drawn, fit, drawing);
      }
    }
    map.regions = regions;
    map.ready = true;
    map.outside_shown = true;
    if (shown) show_material_map(preview, map, drawing, ticked);
    const Sides sides(*regions, drawn, map.material, fit.Scr_k);
    for (int k = 0; k < kLayerCount; ++k) {
      if (!ticked[static_cast<std::size_t>(k)] || !drawing.has_layer(k)) continue;
      PlacementContext ctx{assignment,       preview,       settings, Cnt_total,
                           drawing.layer(k), layer_name(k), &drawn,   &sides};
      assign_layer_approaches(ctx);
    }
    enclosures = find_enclosures(assignment, *regions);
  }
  // A run nobody looks at paints nothing more: its regions go before the
  // order is planned, at the run's peak.
  if (!shown) map.regions.reset();
  regions.reset();
  plan_cut_order(assignment, &enclosures);
  if (material.every_part) mark_part_outlines(assignment, enclosures, material);
  if (shown) draw_traverses(preview, assignment.Ord_dat);
  preview.Mus_clic = 0;
}

void run_approach_assignment(Assignment& assignment, Preview& preview, const Drawing& drawing,
                             const Settings& settings, const LayerTicks& ticked, MaterialChoice material) {
  MaterialMap map;
  run_approach_assignment(assignment, preview, map, drawing, settings, ticked, material);
}

}  // namespace makenc
