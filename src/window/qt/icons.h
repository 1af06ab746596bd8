// The pictures of the tool-bar buttons and the window, painted at start-up
// so the program carries no image files.
#pragma once

#include <QIcon>

namespace makenc {

// A part outline with its lead-in: approach assignment.
QIcon auto_icon();
// A turning arrow: redraw and reset.
QIcon redraw_icon();
// A program sheet with "NC": write the NC program.
QIcon make_nc_icon();
// A plate with a cut-out hole.
QIcon window_icon();

}  // namespace makenc
