#include "assign/assignment.h"

#include <algorithm>

#include "assign/cut_order.h"
#include "assign/placement.h"
#include "preview/material_map.h"
#include "preview/nested_material.h"

namespace makenc {

void run_approach_assignment(Assignment& assignment, Preview& preview, const Drawing& drawing,
                             const Settings& settings, const LayerTicks& ticked, MaterialChoice material) {
  const std::int64_t Cnt_total = std::max<std::int64_t>(drawing.Cnt_total, 0);
  assignment.Apr_cnt = 0;
  assignment.ini_Apr = settings.ini_Apr;
  assignment.Apr_dat = Table(static_cast<std::size_t>(Cnt_total), rec::last);
  // Material the user painted by hand is the map; building it would redraw
  // the preview and erase the painting.
  if (preview.Mus_clic != 1) {
    if (material.every_part)
      build_nested_material_map(preview, drawing, ticked, settings, NestedSheet{material.outline_is_edge});
    else
      build_material_map(preview, drawing, ticked);
  }
  for (int k = 0; k < kLayerCount; ++k) {
    if (!ticked[static_cast<std::size_t>(k)] || !drawing.has_layer(k)) continue;
    PlacementContext ctx{assignment, preview, settings, Cnt_total, drawing.layer(k), layer_name(k)};
    assign_layer_approaches(ctx);
  }
  plan_cut_order(assignment);
  draw_traverses(preview, assignment.Ord_dat);
  preview.Mus_clic = 0;
}

}  // namespace makenc
