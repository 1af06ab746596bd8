// Approach placement: one contour record per contour of a layer, with the
// point where the torch pierces (the approach point, on the scrap side) and
// the point where it meets the contour (the contact point).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "assign/assignment.h"
#include "core/cell.h"
#include "core/drawing.h"
#include "core/settings.h"
#include "core/table.h"
#include "geometry/drawn_elements.h"
#include "geometry/sides.h"
#include "preview/preview.h"

namespace makenc {

// Columns of a contour record (a row of Apr_dat and of the cut list).
namespace rec {
inline constexpr int layer = 0;
inline constexpr int contour = 1;
inline constexpr int element = 2;
inline constexpr int apr_x = 3, apr_y = 4;
inline constexpr int hit_x = 5, hit_y = 6;
inline constexpr int op = 7;
inline constexpr int kind = 8;
inline constexpr int outline = 9;
inline constexpr int last = 10;
}  // namespace rec

// Grp_shape values.
inline constexpr int kShapeUntested = 0;
inline constexpr int kShapeClosed = 1;
inline constexpr int kShapeOpen = 2;

// What a contour is, as the kind column of `Apr_dat` names it: "circle",
// "loop", "line" (an open chain) or "pt".
enum class ContourKind { none, circle, loop, line, point };
inline const char* kind_text(ContourKind kind) {
  switch (kind) {
    case ContourKind::circle: return "circle";
    case ContourKind::loop: return "loop";
    case ContourKind::line: return "line";
    case ContourKind::point: return "pt";
    case ContourKind::none: break;
  }
  return "";
}

// The state of the contour being placed. Li_x1, Li_y1 hold the approach
// point and Li_x2, Li_y2 the contact point once a case has placed it.
struct ApproachState {
  std::int64_t Grp_now = 0;  // contour number expected next
  Cell Grp_row;              // contour number of the row being examined
  std::size_t Grp_scan = 0;  // one past the contour's last row
  double Len_max = 0;
  std::size_t Row_max = 0;
  std::string Grp_G;  // "G" when an element touches the lower or left edge
  int Grp_shape = kShapeUntested;
  ContourKind Grp_kind = ContourKind::none;
  std::string Grp_op;  // "cut" or "mark"
  double Apr_dx = 0, Apr_dy = 0;
  EntityCells ent;
  // The first rows of the contours placed so far, by row of W_dat. Kept
  // beside the table so that placement reads the layer without copying it.
  std::vector<bool> processed;
  std::size_t Grp_first = 0;  // the contour's first row
  // Why the contour's lead-in may spoil the part, when it may; the user is
  // told only of contours that are cut and bound a region of their own.
  std::string doubt;
};

// Everything the placement of one layer reads and writes.
struct PlacementContext {
  Assignment& assignment;
  Preview& preview;
  const Settings& settings;
  std::int64_t Cnt_total;
  const Table& W_dat;  // the layer, which placement does not change
  std::string Now_ly;  // "ly0".."ly5"
  // The drawn lines of the ticked layers, which lead-ins keep off; none
  // when lead-ins are not checked against them.
  const DrawnElements* drawn = nullptr;
  // Which side of a contour is material, by exact geometry.
  const Sides* sides = nullptr;
  ApproachState state{};
};

// Places every contour of ctx.W_dat and appends its records to Apr_dat.
void assign_layer_approaches(PlacementContext& ctx);

// Copies row `row` of W_dat into the current-entity cells; the colour code
// goes to cells.Ent_pen, which styles the lead-in drawn next.
void load_entity(const Table& W_dat, std::size_t row, EntityCells& ent, PreviewCells& cells);

// Writes the current contour into Apr_dat: the first cut contour that
// touches the lower or left edge goes to the reserved outline row
// Cnt_total - 1, every other one to row Apr_cnt. Returns the row written,
// or nothing when the table has no free row for it.
std::optional<std::size_t> store_contour_record(PlacementContext& ctx);

// Ends a circle or closed contour whose first row is `first`: draws the
// lead-in, decides cut or mark, and stores the record.
void finish_closed_contour(PlacementContext& ctx, std::size_t first);

// A closed contour's lead-in placed anew, entered where the operator chose.
struct PlacedEntry {
  double apr_x = 0, apr_y = 0, hit_x = 0, hit_y = 0;
  // Why the lead-in may spoil the part, when it may.
  std::string doubt;
};

// Enters the closed contour of rows first..end - 1 of ctx.W_dat at the point
// (x, y) of its element in row `row`, by the rules of the assignment run:
// the scrap side first, the mirror where that is material, shortened in a
// narrow hole, and for a cut contour kept clear of drawn lines.
PlacedEntry place_entry(PlacementContext& ctx, std::size_t first, std::size_t end, std::size_t row, double x,
                        double y, bool cut);

// The lead-ins of the records of Apr_dat (or of its rows in cutting order,
// Ord_dat) drawn at the preview's fit, as placement draws them: from the
// approach point to the contact point of every circle and closed contour,
// solid where the contour is cut and dash-dot-dot where it is marked.
// With `cuts_shown_as_cut` the lead-ins of cut contours are left to the
// drawing of the program's own lead-ins (arc lead-ins), and only those of
// markings are drawn.
void draw_lead_ins(Preview& preview, const Table& records, bool cuts_shown_as_cut = false);

}  // namespace makenc
