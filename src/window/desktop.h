// The desktop program: start-up in the host folder, then the main window
// until the user ends it or NC generation hands the drawing back.
#pragma once

#include <filesystem>

namespace makenc {

// Returns the program's exit code: 1 when start-up fails (the user is told
// why and no window with a half-read drawing is shown).
int run_desktop(int argc, char** argv, const std::filesystem::path& folder);

}  // namespace makenc
