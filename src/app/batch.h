// The modes without a window: the same stages as the desktop tool, driven
// the way a user drives them with the default check boxes.
#pragma once

#include <filesystem>
#include <ostream>

#include "app/command_line.h"

namespace makenc {

// Each returns the exit code: 0 on success, 1 after printing a clear message
// on `err`. The host's interchange file is handed back only by a successful
// batch run.
int run_batch(const CommandLine& cl, const std::filesystem::path& folder, std::ostream& out,
              std::ostream& err);
int run_dump_tables(const std::filesystem::path& folder, std::ostream& out, std::ostream& err);
int run_dump_cutlist(const CommandLine& cl, const std::filesystem::path& folder, std::ostream& out,
                     std::ostream& err);

// Judges the program named by --check-nc against the folder's drawing and
// changes no file: one line per fault and the count of each kind on `out`;
// exits 0 without a fault, 1 with faults, 2 when the program or the drawing
// cannot be judged (the reason on `err`).
int run_check_nc(const CommandLine& cl, const std::filesystem::path& folder, std::ostream& out,
                 std::ostream& err);

}  // namespace makenc
