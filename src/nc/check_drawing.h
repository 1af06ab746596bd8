// The check drawing handed back to the host: every approach as a line on
// layer A and every rapid move as a line on layer 9, in drawing
// coordinates, so the user sees the cutting order and the entries.
#pragma once

#include <span>
#include <string>

#include "assign/assignment.h"
#include "core/drawing.h"
#include "nc/contour_moves.h"
#include "preview/preview.h"

namespace makenc {

// Appends the records of the whole cut list to `bytes`, each line with its
// CR LF. A contour with a lead-in or an overcut of the shop's options shows
// them as cut: lines and arcs on layer A in place of its straight approach.
void put_check_drawing(std::string& bytes, const Drawing& drawing, const Table& Ord_dat,
                       std::span<const ShownCut> shown = {});

// Draws the lead-ins and overcuts as cut into the preview, solid, over
// what the assignment run drew.
void draw_shown_cuts(Preview& preview, std::span<const ShownCut> shown);

}  // namespace makenc
