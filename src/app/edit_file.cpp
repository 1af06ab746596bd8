#include "app/edit_file.h"

#include <array>
#include <string_view>

#include "core/cell.h"
#include "core/number_text.h"
#include "core/text.h"

namespace makenc {
namespace {

constexpr std::array<EditKind, 6> kEditKinds{EditKind::entry, EditKind::flip, EditKind::mark,
                                             EditKind::cut,   EditKind::skip, EditKind::after};

std::string where(const std::string& name, std::size_t line) {
  return name + ", line " + std::to_string(line) + ": ";
}

// The words of a line, split at spaces and tabs.
std::vector<std::string_view> words_of(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

bool parse_point(std::string_view text, double& x, double& y) {
  const std::vector<std::string_view> xy = split_chars(text, ',');
  return xy.size() == 2 && parse_strict_number(xy[0], x) && parse_strict_number(xy[1], y);
}

Result<EditLine> parse_line(std::string_view text, std::size_t number, const std::string& name) {
  const std::vector<std::string_view> words = words_of(text);
  EditLine line;
  line.line = number;
  const std::string at = where(name, number);
  bool known = false;
  for (const EditKind kind : kEditKinds)
    if (words[0] == edit_word(kind)) {
      line.kind = kind;
      known = true;
    }
  if (!known)
    return Error{at + "unknown edit \"" + cp932_to_utf8(excerpt(words[0], 40)) +
                 "\"; the edits are entry, flip, mark, cut, skip and after"};
  const std::size_t points = line.kind == EditKind::after ? 2 : 1;
  const std::string form =
      line.kind == EditKind::after ? "after X1,Y1 X2,Y2" : std::string(words[0]) + " X,Y";
  if (words.size() != points + 1 || !parse_point(words[1], line.x, line.y) ||
      (points == 2 && !parse_point(words[2], line.to_x, line.to_y)))
    return Error{at + "\"" + cp932_to_utf8(excerpt(text, 60)) + "\" is not " + form +
                 " with points in drawing units"};
  return line;
}

}  // namespace

Result<std::vector<EditLine>> parse_edit_lines(const std::string& bytes, const std::string& name) {
  std::vector<EditLine> lines;
  std::size_t number = 0;
  for (std::string_view text : line_views(bytes)) {
    ++number;
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    if (words_of(text).empty()) continue;
    auto line = parse_line(text, number, name);
    if (!line) return line.error();
    lines.push_back(*line);
  }
  return lines;
}

Result<std::vector<EditLine>> read_edit_file(const std::filesystem::path& file, const std::string& name) {
  const std::optional<std::string> bytes = read_file_bytes(file);
  if (!bytes) return Error{"the edit file " + name + " cannot be read"};
  return parse_edit_lines(*bytes, name);
}

Status make_edits(Session& session, const std::vector<EditLine>& lines, const std::string& name) {
  const Drawing& d = session.start.drawing;
  const double width = d.X_max.number() - d.X_min.number();
  const double height = d.Y_max.number() - d.Y_min.number();
  const double tolerance = edit_tolerance(session.preview, session.settings);
  auto on_drawing = [&](double x, double y) { return x >= 0 && x <= width && y >= 0 && y <= height; };
  for (const EditLine& line : lines) {
    const std::string at = where(name, line.line);
    if (!d.has_bounding_box()) return Error{at + "the drawing is empty, there is nothing to edit"};
    const bool both = line.kind != EditKind::after || on_drawing(line.to_x, line.to_y);
    if (!on_drawing(line.x, line.y) || !both)
      return Error{at + "the point lies off the drawing, which spans 0 to " + double_text(width) +
                   " by 0 to " + double_text(height)};
    auto edit = edit_at(session, line.kind, line.x, line.y, tolerance, line.to_x, line.to_y);
    if (!edit) return Error{at + edit.error().message};
    const Status made = add_edit(session, *edit);
    if (!made) return Error{at + made.error().message};
  }
  return ok_status();
}

}  // namespace makenc
