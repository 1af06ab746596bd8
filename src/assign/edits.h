// The operator's edits over an assignment run: a contour entered elsewhere,
// its lead-in on the other side, marked instead of cut or back, left out of
// the program, or cut right after another contour. The edits are records
// applied in order to the run's result, which itself never changes: undoing
// an edit drops its record and applies the rest again.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "assign/assignment.h"
#include "core/drawing.h"
#include "core/settings.h"
#include "preview/material_map.h"
#include "preview/preview.h"

namespace makenc {

enum class EditKind { entry, flip, mark, cut, skip, after };

// The word of an edit in an edit file: "entry", "flip", "mark", "cut",
// "skip" or "after".
const char* edit_word(EditKind kind);

struct Edit {
  EditKind kind = EditKind::entry;
  // The contour, as its row of Apr_dat in the run's result.
  std::size_t record = 0;
  // entry: the element (row of the contour's layer table) and its point
  // the contour is entered at.
  std::size_t element = 0;
  double x = 0, y = 0;
  // after: the contour it is cut right after.
  std::size_t follows = 0;
};

// The contour drawn nearest a point of the drawing (drawing units after
// translation), and the point of it nearest there.
struct ContourHit {
  std::size_t record = 0;
  std::size_t element = 0;  // row of the layer table
  double x = 0, y = 0;
  double distance = 0;
};

// The record whose contour passes nearest (x, y) within `tolerance`, among
// every record of the run (those left out too); nothing when none does.
std::optional<ContourHit> contour_near(const Assignment& automatic, const Drawing& drawing, double x,
                                       double y, double tolerance);

// How far from a contour a point of an edit file may name it: one pixel of
// the preview or one approach length, whichever is larger.
double edit_tolerance(const Preview& preview, const Settings& settings);

// Why the edit cannot be made on its contour ("" when it can): only a
// closed contour has a lead-in to move or turn over, a point is only
// marked, and the outline held back to be cut last keeps its place.
std::string edit_refusal(const Assignment& automatic, const Edit& edit);

// What an entry is placed on again: the drawing, the boxes and the
// material the run decided on.
struct EditGround {
  const Drawing& drawing;
  const Settings& settings;
  const LayerTicks& ticked;
  Preview& preview;
  const MaterialMap& map;
};

// The run's result with the edits applied in order, into `edited`.
// A contour left out twice is back in. The edited cut list keeps the
// held-back record last; a left-out or marked outline is no longer held
// back.
void apply_edits(Assignment& edited, const Assignment& automatic, const std::vector<Edit>& edits,
                 const EditGround& ground);

}  // namespace makenc
