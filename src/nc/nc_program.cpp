// The NC program writer: header, body and footer made in memory as the
// file's bytes, then written in one atomic write, so that a failure never
// leaves a partial program for the machine.
#include "nc/nc_program.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <ctime>
#include <optional>
#include <span>
#include <utility>

#include "core/files.h"
#include "core/number_text.h"
#include "core/settings_check.h"
#include "core/text.h"
#include "nc/contour_rows.h"
#include "nc/job_time.h"
#include "nc/nc_output_name.h"

namespace makenc {

namespace {

constexpr int kWidthDigits = 15;  // the width is a double
constexpr int kHeightDigits = 7;  // the height is a single
// Room for the text of one element's block ("G01X1234.567Y1234.567" and
// its line end) and for the blocks of one contour beyond its elements:
// rapid, start code, condition, lead-in, closing move, end code. Room that
// is not written to costs no memory the system must give.
constexpr std::size_t kBytesPerElement = 24;
constexpr std::size_t kBytesPerContour = 80;

// Replaces on character boundaries only: the second byte of a double-byte
// character may look like a letter of the placeholder. A placeholder is of
// single-byte characters, so the character after it starts where it ends.
// A text without the placeholder is left as it is.
void replace_all(std::string& text, std::string_view from, const std::string& to) {
  std::size_t found = text.find(from);
  if (found == std::string::npos) return;
  std::string out;
  std::size_t copied = 0;  // the bytes before it are in `out`
  std::size_t at = 0;      // a character start
  for (; found != std::string::npos; found = text.find(from, at)) {
    while (at < found) at += char_length(text, at);
    if (at != found) continue;  // inside a double-byte character
    out.append(text, copied, found - copied);
    out += to;
    at = copied = found + from.size();
  }
  out.append(text, copied);
  text = std::move(out);
}

// The contour's first row and every following row while the contour number
// stays the same, in table order; the spare last row is never one of them.
// `elements` is refilled: one list serves every contour of the program.
void read_contour_elements(const ContourRows& rows, const Table& table, const Cell& id,
                           std::vector<ContourElement>& elements) {
  elements.clear();
  const std::optional<std::size_t> first = rows.first_row(id);
  if (!first) return;
  const std::size_t end = table.last_row();
  for (std::size_t row = *first; row < end && same_number(table.at(row, col::contour), id); ++row)
    elements.push_back(read_element(table, row));
}

std::span<const std::string> without_spare(const TemplateLines& lines) {
  return std::span(lines).first(lines.empty() ? 0 : lines.size() - 1);
}

// Lines that are not blocks (the header and the footer), with their CR LF.
void put_text_lines(NcBlocks& program, std::span<const std::string> lines) {
  for (const std::string& line : lines) {
    program.NC_blk += line;
    program.NC_blk += "\r\n";
  }
}

// A template's lines without its spare entry.
void put_template_lines(NcBlocks& program, const TemplateLines& lines) {
  put_text_lines(program, without_spare(lines));
}

Result<NcTemplates> read_start_end_templates(const std::filesystem::path& folder) {
  NcTemplates t;
  const std::pair<const char*, TemplateLines*> files[] = {{"Zemlak\\Bin\\sta_cut.ini", &t.Sta_cut},
                                                          {"Zemlak\\Bin\\end.ini", &t.End_cd},
                                                          {"Zemlak\\Bin\\sta_mark.ini", &t.Sta_mark}};
  for (const auto& [name, list] : files) {
    auto lines = read_template(host_path(folder, name));
    if (!lines) return lines.error();
    *list = std::move(*lines);
  }
  return t;
}

// The folder is the user's to make: a file standing in its place is named
// as such rather than as a failure to create the program.
Status check_output_folder(const std::filesystem::path& folder) {
  std::error_code ec;
  const std::filesystem::file_status st = std::filesystem::status(folder, ec);
  if (!std::filesystem::exists(st) || std::filesystem::is_directory(st)) return ok_status();
  return Error{"the NC program was not written: " + display_path(folder) + " is a file, not a folder"};
}

bool has_lead_ins(const Table& Ord_dat) {
  const std::size_t n = Ord_dat.rows() == 0 ? 0 : Ord_dat.last_row();
  for (std::size_t k = 0; k < n; ++k) {
    const Cell& kind = Ord_dat.at(k, 8);
    if (kind == "loop" || kind == "circle") return true;
  }
  return false;
}

// The settings the program would be cut with. Open contours and points
// have no lead-in, and without joints the joint length is not used.
Status check_cutting_settings(const NcInput& input) {
  const Assignment& a = input.assignment;
  if (has_lead_ins(a.Ord_dat)) {
    Status approach = check_approach_length(a.ini_Apr, input.settings.ini_S_suu);
    // A value corrected since only takes effect with new lead-ins.
    if (!approach && a.ini_Apr != input.settings.ini_Apr)
      return Error{approach.error().message +
                   "; the lead-ins were placed with it: press アプローチ自動割付 again"};
    if (!approach) return approach;
  }
  if (input.options.joints) return check_joint_length(input.settings);
  return ok_status();
}

// Appends the body of the program to what `blocks` holds.
Status put_body(const NcInput& input, const NcTemplates& templates, NcBlocks& blocks, Warnings* warnings,
                JobSummary* job) {
  const Table& Ord_dat = input.assignment.Ord_dat;
  const std::size_t n = Ord_dat.rows() == 0 ? 0 : Ord_dat.last_row();
  const auto entities = static_cast<std::size_t>(std::max<std::int64_t>(input.drawing.LY_cntAll, 0));
  blocks.NC_blk.reserve(blocks.NC_blk.size() + kBytesPerElement * entities + kBytesPerContour * n);
  ToolpathRun run{input.settings, templates, input.options.joints, blocks, "", ArcWord::none, {}};
  std::optional<DrawnElements> drawn;
  if (input.settings.shop.lead_in == LeadInShape::arc) {
    // The assignment run's index when it was built of the same layers.
    const Assignment& a = input.assignment;
    if (a.drawn && a.drawn_layers == input.options.layers) {
      run.drawn = a.drawn.get();
    } else {
      drawn.emplace(input.drawing, input.options.layers);
      run.drawn = &*drawn;
    }
  }
  std::array<std::optional<ContourRows>, kLayerCount> rows;
  std::vector<ContourElement> elements;
  for (const std::size_t k :
       rows_in_program(Ord_dat, input.assignment.last_is_outline, input.options, input.drawing)) {
    // On a nested sheet every part's outline holds its part by a joint, as
    // the outer contour holds the plate.
    const auto& parts = input.assignment.Ord_part_outline;
    const bool Is_outer =
        (k + 1 == n && input.assignment.last_is_outline) || (k < parts.size() && parts[k] != 0);
    const int layer = layer_number(Ord_dat.at(k, 0).text_form());
    const Table& table = input.drawing.layer(layer);
    auto& layer_rows = rows[static_cast<std::size_t>(layer)];
    if (!layer_rows) layer_rows.emplace(table);
    read_contour_elements(*layer_rows, table, Ord_dat.at(k, 1), elements);
    Status done = put_contour(run, Ord_dat, k, elements, Is_outer);
    if (!done) return done.error();
  }
  if (warnings) warnings->insert(warnings->end(), run.warnings.begin(), run.warnings.end());
  run.job.time_s = job_time(run.job, input.settings.shop);
  if (job) *job = std::move(run.job);
  return ok_status();
}

}  // namespace

std::vector<std::string> fill_header(const TemplateLines& head, const std::string& date,
                                     const std::string& NC_path, const std::string& size_text) {
  std::vector<std::string> lines;
  lines.reserve(head.size());
  for (const std::string& line : without_spare(head)) {
    std::string& filled = lines.emplace_back(line);
    replace_all(filled, "dete", date);
    replace_all(filled, "Nc_name", NC_path);
    replace_all(filled, "WIDExHIGHT", size_text);
  }
  return lines;
}

Result<std::string> drawing_size_text(const Drawing& d) {
  try {
    const double width = (d.X_max - d.X_min).number();
    const float height = static_cast<float>((d.Y_max - d.Y_min).number());
    // Past what a double or a single holds the size has no digits to write.
    if (!std::isfinite(width) || !std::isfinite(height))
      return Error{"the drawing's bounding box is too large: its size cannot be written"};
    return plain_decimal_text(width, kWidthDigits) + " x " +
           plain_decimal_text(static_cast<double>(height), kHeightDigits);
  } catch (const CellArithmeticError& e) {
    return Error{"the drawing's bounding box holds " + cp932_to_utf8(e.what()) +
                 ": its size cannot be written"};
  }
}

std::vector<std::size_t> rows_in_program(const Table& Ord_dat, bool last_is_outline, const NcOptions& options,
                                         const Drawing& drawing) {
  const std::size_t n = Ord_dat.rows() == 0 ? 0 : Ord_dat.last_row();
  std::vector<std::size_t> rows;
  rows.reserve(n);
  for (std::size_t k = 0; k < n; ++k) {
    // Only an outline record is the outer contour; a cut list without one
    // ends with an ordinary contour that is neither dropped nor joined.
    const bool Is_outer = k + 1 == n && last_is_outline;
    if (Is_outer && options.skip_outline) break;
    const int layer = layer_number(Ord_dat.at(k, 0).text_form());
    if (layer < 0 || !options.layers[static_cast<std::size_t>(layer)] || !drawing.has_layer(layer)) continue;
    rows.push_back(k);
  }
  return rows;
}

Result<NcBlocks> nc_body(const NcInput& input, const NcTemplates& templates, Warnings* warnings,
                         JobSummary* job) {
  NcBlocks blocks;
  Status done = put_body(input, templates, blocks, warnings, job);
  if (!done) return done.error();
  return blocks;
}

Result<JobSummary> job_summary(const NcInput& input) {
  JobSummary job;
  auto body = nc_body(input, NcTemplates{}, nullptr, &job);
  if (!body) return body.error();
  return job;
}

Result<NcProgram> build_nc_program(const NcInput& input) {
  Status settings = check_cutting_settings(input);
  if (!settings) return settings.error();
  auto name = nc_output_name(input.folder, input.drawing.File_lin, input.date);
  if (!name) return name.error();
  auto templates = read_start_end_templates(input.folder);
  if (!templates) return templates.error();
  // The program is made in one text, header first; a contour that cannot
  // be cut is still told before what is wrong with the header or footer.
  auto size = drawing_size_text(input.drawing);
  auto head = read_template(host_path(input.folder, "Zemlak\\Bin\\head.ini"));
  auto foot = read_template(host_path(input.folder, "Zemlak\\Bin\\foot.ini"));
  NcBlocks program;
  if (size && head) put_text_lines(program, fill_header(*head, input.date, name->NC_path, *size));
  Warnings warnings;
  JobSummary job;
  Status body = put_body(input, *templates, program, &warnings, &job);
  if (!body) return body.error();
  if (!size) return size.error();
  if (!head) return head.error();
  if (!foot) return foot.error();
  put_template_lines(program, *foot);
  return NcProgram{name->file, name->shown, std::move(program.NC_blk), std::move(warnings), std::move(job)};
}

namespace {

// The summary as the completion tells it: counts, lengths and time; the
// lead-ins and overcuts as cut stay with the program for the hand-back.
JobSummary told_summary(const JobSummary& job) {
  JobSummary told;
  told.contours_cut = job.contours_cut;
  told.contours_marked = job.contours_marked;
  told.pierces = job.pierces;
  told.cut_length = job.cut_length;
  told.marking_length = job.marking_length;
  told.rapid_length = job.rapid_length;
  told.cut_by_condition = job.cut_by_condition;
  told.time_s = job.time_s;
  return told;
}

}  // namespace

Result<NcWritten> write_nc_program(const NcProgram& program, FileLayer& files) {
  Status folder = check_output_folder(program.file.parent_path());
  if (!folder) return folder.error();
  Status written = write_file_atomically(program.file, program.text, files);
  if (!written) return Error{"the NC program was not written: " + written.error().message};
  return NcWritten{program.file,
                   program.shown + utf8_to_cp932("に出力しました。"),
                   program.warnings,
                   told_summary(program.job),
                   {}};
}

Result<NcWritten> make_nc_data(const NcInput& input, FileLayer& files) {
  auto program = build_nc_program(input);
  if (!program) return program.error();
  return write_nc_program(*program, files);
}

std::string short_date_today() {
  const CalendarDate date = today();
  auto two = [](int v) { return std::string(1, char('0' + v / 10)) + char('0' + v % 10); };
  return std::to_string(date.year) + "/" + two(date.month) + "/" + two(date.day);
}

}  // namespace makenc
