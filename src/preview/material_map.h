// The material map: inside and outside of the parts are found by flood
// filling the preview. Light blue is the scrap reached from outside the
// drawing, grey is material, the background colour is holes and parts not
// marked as material.
#pragma once

#include <cstdint>

#include "core/drawing.h"
#include "core/settings.h"
#include "geometry/drawn_elements.h"
#include "geometry/regions.h"
#include "preview/preview.h"

namespace makenc {

// Redraws the preview and fills it: outside light blue, then the first
// enclosed region found from the bottom left grey.
void build_material_map(Preview& preview, const Drawing& drawing, const LayerTicks& ticked);

// The fills alone, on a surface that holds the plain drawing at its fit.
void fill_material_map(Preview& preview, const Drawing& drawing);

// A map decides the side of a contour when the candidate point lies this
// many pixels off the contour's line: clear of the line and of the discs at
// arc ends, and a hole 2.5 approach lengths across is then 20 pixels wide.
inline constexpr double kMapPixelsPerApproach = 8;
// A hole that many pixels across is an open region of the map whatever
// lines, discs and lead-ins are drawn in it.
inline constexpr double kResolvedHolePixels = 20;
// The largest map: four bits a pixel, so 32 MB; a fill over pixels that
// already have its colour keeps one bit a pixel on top. A 6000 x 3000 plate
// at approach 5 needs 47 million pixels.
// A map may be given a smaller cap of its own (MaterialMap::pixel_cap).
inline constexpr double kMapPixelCap = 64e6;
// Room around the drawing on a map of its own: the outside is sampled and
// filled 10 pixels left of and below the drawing's lower-left corner.
inline constexpr int kMapMargin = 16;

// Where the material map is decided. On a preview whose scale already gives
// kMapPixelsPerApproach pixels per approach length the preview itself is
// the map; otherwise the map is a surface of its own at that scale (at most
// kMapPixelCap pixels) and the preview shows it sampled down.
struct MaterialMap {
  Preview own;            // the map's own surface and fit, when used
  bool uses_own = false;  // false: the preview is the map
  bool ready = false;     // drawn since the preview was last redrawn
  bool plain = false;     // the own surface holds only the drawing
  // When the cap made the map coarser than it should be: holes narrower
  // than this (drawing units) may have their lead-ins on the wrong side.
  double check_below = 0;
  // The most pixels a map of its own may have.
  double pixel_cap = kMapPixelCap;
  // Which regions of the drawing are material: what approach placement
  // decides by. The pixels above only show it.
  MaterialRegions material;
};

// The surface the side of a contour is decided on, as a scale and an extent
// in pixels: the preview when it has kMapPixelsPerApproach pixels per
// approach length, else a surface of that scale around the drawing (with
// the margin a map of its own has). Nothing is drawn on it: its pixels only
// place the search for the first material region and give a drawn line its
// width.
struct DecisionFit {
  double Scr_x0 = 0, Scr_y0 = 0;
  float Scr_k = 1;
  int width = 0, height = 0;
};
DecisionFit decision_fit(const Preview& preview, const Drawing& drawing, const Settings& settings);

// The region the search of the map finds first (row by row from just below
// the drawing upward, every third pixel of every fifth row, a sample on a
// drawn line skipped) becomes material; when none is found, the region where
// the search ended does, as the map's last fill colours it.
void find_first_material(MaterialRegions& material, const Regions& regions, const DrawnElements& drawn,
                         const DecisionFit& fit, const Drawing& drawing);

// Chooses where the map is decided for the preview as it is now drawn and
// the approach length; a map of its own is sized and the ticked layers are
// drawn on it. An approach length that cannot be cut (NC generation refuses
// it) keeps the map on the preview. Marks the map ready.
void prepare_material_map(MaterialMap& map, const Preview& preview, const Drawing& drawing,
                          const LayerTicks& ticked, const Settings& settings);

// The surface the map is decided on: the map's own or the preview.
Preview& decision_surface(MaterialMap& map, Preview& preview);

// Builds the map on its decision surface (the preview is redrawn when it is
// the map).
void build_decision_map(MaterialMap& map, Preview& preview, const Drawing& drawing, const LayerTicks& ticked);

// The preview shows a map of its own sampled down: each preview pixel takes
// the colour of a line (rapid move, entity, point) in the pixels it covers,
// else the colour at its centre.
void show_material_map(const MaterialMap& map, Preview& preview);

// A view of the map at a scale and offset of its own (view.fit): every
// pixel of view.surface takes the region colour (scrap, material, hole) the
// map has at that pixel's drawing point. Where the map holds a line there,
// the nearest region colour around it is taken, so that lines the view draws
// at its own scale are not shown as the map's coarse pixels.
void sample_material_map(const Preview& map, Preview& view);

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
