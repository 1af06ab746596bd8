// The shop's options of "Zemlak\Bin\option.ini", beside "set.ini": the shape
// of the lead-in, the overcut past the contact point, and the feeds and
// times that give the job's time. "set.ini" keeps its eight lines, which
// other tools of the shop read; a missing file or key leaves its option off.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/error.h"

namespace makenc {

enum class LeadInShape { line, arc };

struct ShopOptions {
  LeadInShape lead_in = LeadInShape::line;
  // The arc lead-in's radius; none: half the approach length.
  std::optional<double> lead_in_radius;
  double overcut = 0;  // how far a closed cut runs on past its contact point
  // Feeds in drawing units a minute: per condition code, for markings and
  // for rapid moves. Times in seconds, 0 when not given.
  std::vector<std::pair<std::string, double>> feeds;
  std::optional<double> feed_mark, rapid_feed;
  double pierce_time = 0, mark_start_time = 0;

  // The feed given for a condition code, if any.
  std::optional<double> feed_of(const std::string& code) const;
};

// Where the file lies in the host folder, and its name as messages give it.
inline constexpr const char* kOptionIni = "Zemlak\\Bin\\option.ini";
inline constexpr const char* kOptionIniShown = "Zemlak/Bin/option.ini";

// The options of the file's lines ("key=value"; blank lines and lines
// starting with ";" are skipped). An unknown key, a key given twice, or a
// value that is not a number in its range is the error, naming the file, the
// line and the key.
Result<ShopOptions> read_option_lines(const std::vector<std::string>& lines);

// The options of the host folder's file; a missing file is every option off.
Result<ShopOptions> read_option_ini(const std::filesystem::path& folder);

// The lines that give these options back, only those that are on.
std::vector<std::string> option_ini_lines(const ShopOptions& options);

// Writes the file whole (atomically) or not at all.
Status write_option_ini(const std::filesystem::path& folder, const ShopOptions& options);

// The arc lead-in's radius with the approach length given.
double lead_in_radius_or_default(const ShopOptions& options, double approach);

}  // namespace makenc
