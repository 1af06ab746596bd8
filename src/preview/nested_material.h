// The material map of a nested sheet: every part is material. A region of
// the preview is material when an odd number of closed cutting contours
// enclose it, and scrap when the number is even (the outside region, a
// part's holes, the skeleton of a sheet whose edge is not counted).
//
// Each region of the surface (the pixels a fill bounded by black reaches)
// gets its nesting depth from one seed point, by even-odd containment
// against the chained contours in drawing units: the depth is that of the
// drawing itself, whatever the preview's scale merges or cuts apart.
#pragma once

#include "core/drawing.h"
#include "core/settings.h"
#include "preview/preview.h"

namespace makenc {

struct NestedSheet {
  // The outline that encloses the drawing is the sheet's edge and is not
  // counted ("外形線出力なし"): parts are then material, the skeleton scrap.
  bool outline_is_edge = false;
};

// Redraws the preview and colours every region by its depth: depth 0 light
// blue, odd depths grey (material), even depths from 2 on the background
// colour. Counted contours are the closed ones of the ticked layers that are
// cut: a circle or a loop that closes (within the matching tolerance), whose
// first element has colour code "2".
void build_nested_material_map(Preview& preview, const Drawing& drawing, const LayerTicks& ticked,
                               const Settings& settings, NestedSheet sheet);
// The colouring alone, on a surface that holds the plain drawing at its fit.
void fill_nested_material_map(Preview& preview, const Drawing& drawing, const LayerTicks& ticked,
                              const Settings& settings, NestedSheet sheet);

}  // namespace makenc
