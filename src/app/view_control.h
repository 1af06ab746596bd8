// What the preview shows: the fitted drawing, or a part of it zoomed with
// the mouse wheel and panned with the middle button. A view only changes the
// picture. The material map, the probes and every decision of an assignment
// run stay on the session's own surfaces, so nothing about the cut depends
// on where the user looks. Both windows drive the view through these
// functions; they only pass mouse and key events in and show the picture.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "app/session.h"
#include "raster/surface.h"

namespace makenc {

// The largest zoom: one drawing unit is this many pixels.
inline constexpr double kMostPixelsPerUnit = 50;

struct DrawingPoint {
  double x = 0, y = 0;  // drawing units, after translation
};

struct ViewControl {
  // Pixels per drawing unit, and the drawing point at the picture's
  // top-left corner (pixel (0, 0)).
  double scale = 0;
  DrawingPoint top_left;
  int width = 0, height = 0;  // the picture, in pixels
  // The fitted view: the picture is the session's preview as it is.
  bool fitted = true;
  // "順番表示": each contour's place in the cutting order beside its
  // lead-in, where there is room.
  bool order_numbers = false;
  // The picture of a zoomed view, or of the fitted view with order numbers.
  Surface picture;
  // "編集": the mouse and the keys edit the assignment run instead of
  // painting material.
  bool editing = false;
  // "順番指定": in edit mode, each contour clicked is cut right after the
  // one clicked before it.
  bool ordering = false;
  // The contour selected in edit mode, as its row of Apr_dat; in the order
  // step the one clicked last.
  std::optional<std::size_t> selected;
  // Why the last edit asked for in the window was not made; "" once one is.
  std::string edit_note;
  // The middle button's last position while it is held.
  bool panning = false;
  double pan_x = 0, pan_y = 0;
};

// Back to the fitted view of the session's preview (Home, "R_drew", a
// resize or a layer box).
void fit_view(ViewControl& view, const Session& session);

// The wheel at pixel (x, y): positive steps zoom in, negative out, about the
// drawing point under the cursor, between the fitted scale and
// kMostPixelsPerUnit.
void wheel_view(ViewControl& view, const Session& session, double x, double y, int steps);

// The view that shows the rectangle from lower_left to upper_right (drawing
// units) in the whole picture with its aspect kept, centred; a rectangle
// too small for kMostPixelsPerUnit is shown at that scale, centred on it.
// A rectangle that is not finite or has no width or height leaves the view.
void show_area(ViewControl& view, const Session& session, DrawingPoint lower_left, DrawingPoint upper_right);

// The middle button pressed, dragged and released at pixel (x, y).
void start_pan(ViewControl& view, double x, double y);
void drag_view(ViewControl& view, const Session& session, double x, double y);
void end_pan(ViewControl& view);
// The mouse moved to pixel (x, y): while the middle button is held the
// drawing follows it; a move with the button up ends a pan whose release
// went elsewhere. True when the picture may have changed.
bool move_mouse(ViewControl& view, const Session& session, double x, double y, bool middle_held);

// The drawing point under pixel (x, y) of the picture.
DrawingPoint drawing_point(const ViewControl& view, const Session& session, double x, double y);

// Mouse clicks at pixel (x, y) of the picture: left paints the material
// region at the drawing point under it, right clears the painting, as on the
// fitted preview. In edit mode a left click within kPickPixels of a contour
// selects it and enters it at the point of it nearest the click (in the
// order step: cuts it right after the contour clicked before), and a right
// click selects it and turns its lead-in over.
void left_click_in_view(ViewControl& view, Session& session, double x, double y);
void right_click_in_view(ViewControl& view, Session& session, double x, double y);

// How near a contour a click in edit mode must fall, in pixels.
inline constexpr double kPickPixels = 5;

// The button "編集" and the order step "順番指定" switched on or off; either
// starts with no contour selected.
void set_editing(ViewControl& view, bool on);
void set_ordering(ViewControl& view, bool on);

// The keys of edit mode: M marks the selected contour or cuts it again,
// Delete leaves it out of the program or takes it back, Ctrl+Z undoes the
// last edit. True when the picture may have changed.
enum class EditKey { mark, leave_out, undo };
bool edit_key(ViewControl& view, Session& session, EditKey key);

// The status bar's text panel: the job status, after why the last edit
// asked for was not made.
std::string view_status_text(const ViewControl& view, const Session& session);

// What the preview shows: the session's preview itself when the view is
// fitted and has no order numbers, else the view's picture drawn anew from
// the drawing, the assignment and the material map at the view's scale.
const Surface& view_picture(ViewControl& view, Session& session);

// The status bar's text for the cursor at pixel (x, y): its drawing point
// and the view's scale (UTF-8).
std::string cursor_text(const ViewControl& view, const Session& session, double x, double y);

}  // namespace makenc
