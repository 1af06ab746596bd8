// Whole runs of the program: a command line in a host folder, with $HOME
// set, standard output and error caught; and the G-code interpreter check
// every NC program of a whole run must pass.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace makenc::test {

// The text quoted for the shell, whatever bytes it holds.
std::string shell_quote(const std::string& text);

struct RunResult {
  int exit_code = -1;  // -1 when the program did not exit by itself
  std::string out, err;
};

// Runs the built program in `folder` with the arguments; the output is
// caught in files beside the folder.
RunResult run_makenc(const std::filesystem::path& folder, const std::vector<std::string>& args,
                     const std::filesystem::path& home);

// Every regular file ending in ".nc" in the folder (not below it).
std::vector<std::filesystem::path> nc_programs_in(const std::filesystem::path& folder);

// Runs tests/tools/nc-check (or $MAKENC_NC_CHECK) on the program with the
// settings file it was made with and the shop's options beside it: a
// lead-in of two moves with arc lead-ins, and a closing gap up to the
// overcut or the joint, whichever is longer. A failure shows the check's
// report.
void expect_nc_check_passes(const std::filesystem::path& nc_file, const std::filesystem::path& set_ini);

}  // namespace makenc::test
