// The NC program: the check boxes it reads, the header and footer
// templates around the body, and the contours of the cut list turned into
// the body.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "assign/assignment.h"
#include "core/drawing.h"
#include "core/error.h"
#include "core/file_layer.h"
#include "core/settings.h"
#include "core/warnings.h"
#include "nc/contour_path.h"
#include "nc/nc_blocks.h"

namespace makenc {

// The check boxes of the main window that NC generation reads.
struct NcOptions {
  LayerTicks layers{};         // "ly0" to "ly5"
  bool joints = true;          // "ジョイントあり": leave joints
  bool check_drawing = false;  // "JWW確認図 出力あり": append the check drawing
  bool skip_outline = false;   // "外形線出力なし": leave the outline out
};

struct NcInput {
  const std::filesystem::path& folder;  // the host folder (working directory)
  const Drawing& drawing;
  const Settings& settings;
  const Assignment& assignment;
  const NcOptions& options;
  std::string date;  // the short date "yyyy/MM/dd"
};

struct NcWritten {
  std::filesystem::path file;  // where the program was written on disk
  std::string message;         // the file as named to the user + "に出力しました。", code page 932
  Warnings warnings;           // contours written otherwise than asked
  JobSummary job;              // what the program asks of the machine, without the shown cuts
  // What the check of the program against the drawing found, one line a
  // fault (UTF-8), and how many there are.
  std::vector<std::string> faults;
};

// The program made and not yet written: where it goes, its text, the
// contours written otherwise than asked and what it asks of the machine.
struct NcProgram {
  std::filesystem::path file;
  std::string shown;  // the file as named to the user, code page 932
  std::string text;   // header, body and footer, CR LF
  Warnings warnings;
  JobSummary job;
};

// Builds the block table: header, body and footer. An approach length the
// lead-ins cannot be cut with, or a joint length below 0 with joints on, is
// refused first, naming the line of the settings.
Result<NcProgram> build_nc_program(const NcInput& input);

// Writes the program to its file; its folder must exist.
Result<NcWritten> write_nc_program(const NcProgram& program, FileLayer& files = system_files());

// Builds the program and writes it to the NC file.
Result<NcWritten> make_nc_data(const NcInput& input, FileLayer& files = system_files());

// Today's date as the short date "yyyy/MM/dd", whatever the locale.
std::string short_date_today();

// The header template with its placeholders filled: "dete" the date,
// "Nc_name" the NC path, "WIDExHIGHT" the drawing's size.
std::vector<std::string> fill_header(const TemplateLines& head, const std::string& date,
                                     const std::string& NC_path, const std::string& size_text);

// Width (double) x height (single) of the drawing's bounding box.
Result<std::string> drawing_size_text(const Drawing& drawing);

// The rows of the cut list the program cuts or marks, in the program's
// order: those of ticked layers that hold entities, without the outline when
// "外形線出力なし" leaves it out.
std::vector<std::size_t> rows_in_program(const Table& Ord_dat, bool last_is_outline, const NcOptions& options,
                                         const Drawing& drawing);

// The body of the program: every contour of the cut list, in order. The
// contours cut otherwise than asked are added to `warnings`, and what the
// job asks of the machine is left in `job`, when given.
Result<NcBlocks> nc_body(const NcInput& input, const NcTemplates& templates, Warnings* warnings = nullptr,
                         JobSummary* job = nullptr);

// What the program of this cut list asks of the machine, measured along the
// moves NC generation makes of it with these options (the contours written,
// their directions and joints). The templates are not read: start and end
// codes hold no moves of the tool's. A contour NC generation would refuse
// is the error.
Result<JobSummary> job_summary(const NcInput& input);

}  // namespace makenc
