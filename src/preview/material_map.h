// The material map: which regions of the drawing are material. Regions are
// found by exact geometry (geometry/regions.h); the map only records which of
// them are material, by the three rules the user has: the first region the
// search from the bottom left meets, every part of a nested sheet
// ("全部品を材料"), or what a left click painted. The preview paints it: light
// blue the outside, grey material, the background holes and parts not
// marked, each pixel by the region its centre lies in.
#pragma once

#include <memory>

#include "core/drawing.h"
#include "core/settings.h"
#include "geometry/drawn_elements.h"
#include "geometry/regions.h"
#include "preview/preview.h"

namespace makenc {

// The side of a contour is decided at no coarser a scale than this many
// pixels per approach length: a drawn line is then an eighth of an approach
// length wide, and the lead-in starts clear of it.
inline constexpr double kMapPixelsPerApproach = 8;
// Room around the drawing on a surface of that scale: the outside is sampled
// 10 pixels left of and below the drawing's lower-left corner.
inline constexpr int kMapMargin = 16;

struct MaterialMap {
  // Whether `material` holds for the preview as it is drawn: a redraw (a
  // resize, a layer box, a right click) discards it.
  bool ready = false;
  MaterialRegions material;
  // The regions the material was found in, for painting it again.
  std::shared_ptr<const Regions> regions;
  // Whether the outside shows light blue: once an assignment run has
  // mapped it, not while only clicks have painted.
  bool outside_shown = false;
};

// The scale and extent of the surface the side of a contour is decided on:
// the preview when it has kMapPixelsPerApproach pixels per approach length,
// else one of that scale around the drawing (with kMapMargin on each side).
// Nothing is drawn on it: its pixels place the search for the first material
// region and give a drawn line its width.
struct DecisionFit {
  double Scr_x0 = 0, Scr_y0 = 0;
  float Scr_k = 1;
  int width = 0, height = 0;
};
DecisionFit decision_fit(const Preview& preview, const Drawing& drawing, const Settings& settings);

// The region the search finds first (row by row from just below the drawing
// upward, every third pixel of every fifth row, a sample on a drawn line
// skipped) becomes material, taken at the body of the outermost contour
// around it; when none is found, the region where the search ended does.
void find_first_material(MaterialRegions& material, const Regions& regions, const DrawnElements& drawn,
                         const DecisionFit& fit, const Drawing& drawing);

// Every pixel of the preview takes the colour of the region its centre lies
// in: grey where material, light blue outside every contour (when
// `outside_blue`), the background elsewhere. The drawing goes on top
// afterwards.
void paint_material(Preview& preview, const Regions& regions, const MaterialRegions& material,
                    bool outside_blue = true);

// The preview erased and painted: the map when it is ready, then the ticked
// layers at the preview's fit.
void show_material_map(Preview& preview, const MaterialMap& map, const Drawing& drawing,
                       const LayerTicks& ticked);

// A left click at a drawing point: its region becomes material, unless the
// point stands on a drawn line. A map not ready starts from no material.
void paint_region(MaterialMap& map, const Preview& preview, const Drawing& drawing, const LayerTicks& ticked,
                  const Settings& settings, double x, double y);

// A right click: the painting is discarded by a full redraw.
void clear_painting(Preview& preview, const Drawing& drawing, const LayerTicks& ticked);

}  // namespace makenc
