// An edit file: the operator's edits for a batch run, one a line, in code
// page 932 with CR LF (LF alone is read too), points in drawing units from
// the drawing's lower-left corner as --paint takes them:
//   entry X,Y   flip X,Y   mark X,Y   cut X,Y   skip X,Y   after X1,Y1 X2,Y2
// Blank lines are passed over.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "app/session.h"
#include "assign/edits.h"
#include "core/error.h"

namespace makenc {

struct EditLine {
  EditKind kind = EditKind::entry;
  double x = 0, y = 0;
  double to_x = 0, to_y = 0;  // after: the contour it follows
  std::size_t line = 0;       // from 1
};

// The lines of the file's bytes; the first bad line is refused with the
// file's name as given, its number and the reason.
Result<std::vector<EditLine>> parse_edit_lines(const std::string& bytes, const std::string& name);

// Reads and parses the file.
Result<std::vector<EditLine>> read_edit_file(const std::filesystem::path& file, const std::string& name);

// Makes each edit on the session's last assignment run, in order: a point
// off the drawing, one that names no contour or an edit its contour cannot
// take is refused with the file's name, the line and the reason.
Status make_edits(Session& session, const std::vector<EditLine>& lines, const std::string& name);

}  // namespace makenc
