// Start-up without a window: settings, the two reads of the interchange
// file, measurement and chaining, in this order.
#pragma once

#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "core/drawing.h"
#include "core/error.h"
#include "core/settings.h"
#include "core/warnings.h"

namespace makenc {

struct StartUp {
  Drawing drawing;
  // The working copy "Zemlak\Bin\makeNC.txt" as start-up wrote it: the
  // interchange file's header without its "hq" lines, "#" included. NC
  // generation appends the check drawing and hands it back.
  std::vector<std::string> working_copy;
  // What chaining left out or found overlapping, one line a layer.
  Warnings warnings;
};

// Called with the header lines for the working copy once the first read
// has ended well, before the second read.
using HeaderRead = std::function<Status(const std::vector<std::string>&)>;

// Whether start-up names what chaining left out or found overlapping in
// StartUp::warnings; a reader that only needs the contours asks for none.
enum class StartWarnings { named, none };

// The two reads, measurement and chaining on the lines of the interchange
// file, with the settings already read; nothing is read or written on disk.
Result<StartUp> read_drawing(std::span<const std::string_view> lines, const Settings& settings,
                             const HeaderRead& header_read = {}, StartWarnings warn = StartWarnings::named);
Result<StartUp> read_drawing(const std::vector<std::string>& lines, const Settings& settings,
                             const HeaderRead& header_read = {});

// Runs start-up in the host folder. Reads "Zemlak\Bin\set.ini" into
// `settings` first (a missing file keeps the defaults); a matching tolerance
// below 0 stops start-up. On failure the error
// names the file or the line; "JWC_TEMP.TXT" is never changed.
Result<StartUp> start_up(const std::filesystem::path& folder, Settings& settings);

}  // namespace makenc
