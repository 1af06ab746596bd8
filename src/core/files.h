// Writing files the host or the machine reads: never half-written.
#pragma once

#include <filesystem>
#include <string>

#include "core/error.h"

namespace makenc {

// Writes bytes to a temporary file in the target's folder, flushes and
// closes it, then renames it over the target. On any failure the target is
// untouched, the temporary file is removed and the error names the target.
Status write_file_atomically(const std::filesystem::path& target, const std::string& bytes);

// The path as the user should read it in a message (UTF-8).
std::string display_path(const std::filesystem::path& p);

}  // namespace makenc
