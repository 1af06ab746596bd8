// Writing files the host or the machine reads: never half-written.
#pragma once

#include <filesystem>
#include <string>

#include "core/error.h"
#include "core/file_layer.h"

namespace makenc {

// Writes bytes to a temporary file of a name of its own in the target's
// folder, flushes it to the disk and closes it, then renames it over the
// target and syncs the folder. A file it replaces passes its permission bits
// on. On any failure the target is untouched, the temporary file is removed
// and the error names the target; a crash or power loss at any point leaves
// the old file or the new one, whole.
Status write_file_atomically(const std::filesystem::path& target, const std::string& bytes,
                             FileLayer& files = system_files());

// The path as the user should read it in a message (UTF-8).
std::string display_path(const std::filesystem::path& p);

}  // namespace makenc
