// One assignment run: an approach for every contour of the ticked layers,
// the cutting order, and the lead-ins and rapid moves drawn in the preview.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/drawing.h"
#include "core/settings.h"
#include "core/table.h"
#include "core/warnings.h"
#include "geometry/drawn_elements.h"
#include "preview/material_map.h"
#include "preview/preview.h"

namespace makenc {

// Where a record's contour lies: rows first..end - 1 of a layer table.
struct ContourSpan {
  int layer = -1;  // none
  std::size_t first = 0, end = 0;
};

struct Assignment {
  // One record per contour (rows 0..Cnt_total, columns 0..10); the outline
  // record in row Cnt_total - 1.
  Table Apr_dat;
  std::int64_t Apr_cnt = 0;
  // By row of Apr_dat, where its contour lies in the drawing.
  std::vector<ContourSpan> Apr_span;
  // The records in cutting order (rows 0..M, columns 0..15), the held-back
  // record last.
  Table Ord_dat;
  // Whether the held-back last record of Ord_dat is the outline record: only
  // then is it the outer contour for NC generation.
  bool last_is_outline = false;
  // By row of Ord_dat: the row of Apr_dat it holds (Apr_dat's row count for
  // none).
  std::vector<std::size_t> Ord_apr_row;
  // By row of Ord_dat, on a nested sheet with every part material: the
  // contour is a part's outline, which holds the part in the sheet by a
  // joint as the outer contour does. Empty otherwise.
  std::vector<char> Ord_part_outline;
  // The rows of Apr_dat the operator left out of the program: drawn
  // dimmed, neither cut nor counted.
  std::vector<std::size_t> skipped;
  // The approach length the lead-ins were placed with, as typed: the user
  // may save other settings before NC generation, which cuts these.
  std::string ini_Apr = Settings{}.ini_Apr;
  // What the run could not place as the shop would want, per contour.
  Warnings warnings;
  // Whether the run took the material the user painted by hand.
  bool painted_by_hand = false;
  // With arc lead-ins the program asks what each arc would meet: the run's
  // index of the drawn elements of the layers `drawn_layers`, kept for it.
  std::shared_ptr<const DrawnElements> drawn;
  LayerTicks drawn_layers{};
};

// Which map the run builds: the first region found from the bottom left is
// material, or every part of a nested sheet ("全部品を材料").
struct MaterialChoice {
  bool every_part = false;
  // With every part: the outline is the sheet's edge and not a part's.
  bool outline_is_edge = false;
};

// The work of the button "auto". Finds the material anew unless the user
// painted material by hand (preview.Mus_clic = 1) on a map still ready,
// places and orders the contours of the ticked layers, paints the map, the
// lead-ins and the rapid moves into the preview, and clears
// preview.Mus_clic. The preview surface keeps its current size. A run whose
// preview nobody looks at (`shown` false) paints nothing.
void run_approach_assignment(Assignment& assignment, Preview& preview, MaterialMap& map,
                             const Drawing& drawing, const Settings& settings, const LayerTicks& ticked,
                             MaterialChoice material = {}, bool shown = true);

// The same with a map that lives for this run only, found anew.
void run_approach_assignment(Assignment& assignment, Preview& preview, const Drawing& drawing,
                             const Settings& settings, const LayerTicks& ticked,
                             MaterialChoice material = {});

}  // namespace makenc
