#include "import/startup.h"

#include <system_error>

#include "core/files.h"
#include "core/settings_check.h"
#include "core/text.h"
#include "import/chain.h"
#include "import/measure.h"
#include "import/reader.h"

namespace makenc {
namespace {

Status check_folder(const std::filesystem::path& folder) {
  const std::filesystem::path bin = host_path(folder, "Zemlak\\Bin");
  std::error_code ec;
  if (std::filesystem::is_directory(bin, ec)) return ok_status();
  return Error{"the folder " + display_path(bin) +
               " is missing: it holds the settings, the templates and the working copy"};
}

// The drawing is read whole before anything is stored, and the host's file
// is only ever read here.
Result<std::string> read_interchange(const std::filesystem::path& folder) {
  const std::filesystem::path file = host_path(folder, "JWC_TEMP.TXT");
  auto bytes = read_file_bytes(file);
  if (!bytes)
    return Error{"cannot read the drawing " + display_path(file) + ": the file is missing or unreadable"};
  // The host writes at least its header: an empty file is one it did not
  // finish, and a program without a drawing must not be reported as made.
  // Any byte makes at least one line.
  if (bytes->empty())
    return Error{"the drawing " + display_path(file) + " is empty: the host wrote no drawing"};
  return std::move(*bytes);
}

}  // namespace

Result<StartUp> read_drawing(std::span<const std::string_view> lines, const Settings& settings,
                             const HeaderRead& header_read, StartWarnings warn) {
  StartUp out;
  out.drawing.Cnt_total = 1;
  Reader rd;
  Status first = first_read(rd, out.drawing, lines);
  if (!first) return first.error();
  if (header_read) {
    Status header = header_read(rd.working_copy);
    if (!header) return header.error();
  }
  between_reads(rd, out.drawing);
  Status second = second_read(rd, out.drawing, lines);
  if (!second) return second.error();
  measure_layers(out.drawing);
  chain_layers(out.drawing, settings, ChainMode::regions,
               warn == StartWarnings::named ? &out.warnings : nullptr);
  out.working_copy = std::move(rd.working_copy);
  return out;
}

Result<StartUp> read_drawing(const std::vector<std::string>& lines, const Settings& settings,
                             const HeaderRead& header_read) {
  const std::vector<std::string_view> views(lines.begin(), lines.end());
  return read_drawing(std::span<const std::string_view>(views), settings, header_read);
}

Result<StartUp> start_up(const std::filesystem::path& folder, Settings& settings) {
  read_set_ini(host_path(folder, "Zemlak\\Bin\\set.ini"), settings);
  // Before the working copy is started: a tolerance that chains nothing
  // leaves the host folder as it was.
  Status tolerance = check_tolerance(settings);
  if (!tolerance) return tolerance.error();
  Status bin = check_folder(folder);
  if (!bin) return bin.error();
  auto bytes = read_interchange(folder);
  if (!bytes) return bytes.error();
  // Views of the bytes, which stay where they are until start-up ends.
  const std::vector<std::string_view> lines = line_views(*bytes);

  // The working copy starts at every start with the drawing's header, or
  // empty when the drawing is refused before its header is read, whatever
  // it held before: it is written once.
  const std::filesystem::path working_copy = host_path(folder, "Zemlak\\Bin\\makeNC.txt");
  bool written = false;
  auto started = read_drawing(std::span<const std::string_view>(lines), settings,
                              [&working_copy, &written](const std::vector<std::string>& header) {
                                written = true;
                                return write_file_atomically(working_copy, join_crlf(header));
                              });
  if (!written) {
    Status created = write_file_atomically(working_copy, "");
    if (!created) return created.error();
  }
  return started;
}

}  // namespace makenc
