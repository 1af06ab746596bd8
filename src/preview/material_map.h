// The material map: inside and outside of the parts are found by flood
// filling the preview. Light blue is the scrap reached from outside the
// drawing, grey is material, the background colour is holes and parts not
// marked as material.
#pragma once

#include <cstdint>

#include "core/drawing.h"
#include "preview/preview.h"

namespace makenc {

// Redraws the preview and fills it: outside light blue, then the first
// enclosed region found from the bottom left grey.
void build_material_map(Preview& preview, const Drawing& drawing, const LayerTicks& ticked);

// The walking state of a probe: the drawing point (Li_x1, Li_y1) that is
// stepped by (Apr_dx, Apr_dy) while the probe stands on black.
struct ProbeWalk {
  double Li_x1 = 0, Li_y1 = 0;
  double Apr_dx = 0, Apr_dy = 0;
};

// How far a probe looks: at the one pixel, or on over drawn lines.
enum class Probe { one_pixel, over_lines };

// one_pixel: whether the pixel (x, y) has the colour. over_lines: whether
// the first non-black pixel met when stepping from (x, y) by the walk's step
// has the colour; x, y and the walk are left where the probe stopped.
bool probe_material(const Preview& preview, Probe probe, double& x, double& y, Colour colour,
                    ProbeWalk& walk);

// A left click: the region around the pixel becomes grey material.
void paint_material(Preview& preview, double x, double y);

// A right click: the hand painting is discarded by a full redraw.
void clear_painting(Preview& preview, const Drawing& drawing, const LayerTicks& ticked);

}  // namespace makenc
