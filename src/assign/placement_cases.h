// The placement of the approach and contact points, one function per kind
// of contour. Each leaves the approach point in Li_x1, Li_y1, the contact
// point in Li_x2, Li_y2 and their preview lengths in P_x1..P_y2.
#pragma once

#include <cstddef>

#include "assign/placement.h"

namespace makenc {

// A full circle (row `row`): a hole is entered from inside above its lowest
// point, or from its centre when it is too small; an outline circle, and a
// round part (material inside, scrap outside on the map), from below,
// outside.
void place_full_circle(PlacementContext& ctx, std::size_t row);

// Why a lead-in may start in the part when neither side of an element has
// scrap, even close to it.
inline constexpr const char* kNoScrapBeside =
    "no scrap beside its longest element for a lead-in; the lead-in may start in the part";

// A closed contour entered on its arc in row `row`: the middle of the arc,
// on the radial side that is scrap.
void place_on_arc(PlacementContext& ctx, std::size_t row);

// A closed contour entered on its line in row `row`: the middle of the line,
// on the normal side that is scrap.
void place_on_line(PlacementContext& ctx, std::size_t row);

// A cut contour whose lead-in runs through a drawn line (of another
// contour, or of its own before the contact point) gets a shorter one, on
// its side or else on the mirror side where that is scrap; when none is
// clear the lead-in stays and the contour is named.
void keep_lead_in_clear(PlacementContext& ctx);

// The same lead-ins entered at the point (x, y) of the element in row `row`
// instead of where placement would enter: on a circle radially, from inside
// a hole and from outside a round part or the outline; on an arc radially
// and on a line along its normal, on the side that is scrap. The point is
// taken on the element (a line's point must lie on it).
void place_full_circle_at(PlacementContext& ctx, std::size_t row, double x, double y);
void place_on_arc_at(PlacementContext& ctx, std::size_t row, double x, double y);
void place_on_line_at(PlacementContext& ctx, std::size_t row, double x, double y);

// A point (row `row`): approach and contact are the point itself.
void place_point(PlacementContext& ctx, std::size_t row);

// An open contour starting at row `row`: from the start of its first element
// to the end of its last (row Grp_scan - 1).
void place_open_contour(PlacementContext& ctx, std::size_t row);

}  // namespace makenc
