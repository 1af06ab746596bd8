// The file-system steps a file is written with, one call each, so that a
// test can make any single step fail, or stop the process there, and see
// what the host is left with.
//
// The layer is handed explicitly to the functions that write (with the
// system's own layer as the default) rather than set in one process-wide
// hook: only a few functions write, a test's faults then stay with the call
// they are meant for, and a forked child cannot leave a hook set behind.
#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "core/platform.h"

namespace makenc {

// The attributes of the regular file at `target` (following a symbolic
// link, whose own bits say nothing); none when there is no such file.
std::optional<KeptAttributes> attributes_to_keep(const std::filesystem::path& target);

// Every step returns the error it failed with, or no error. The steps are
// virtual and the base class does them with the system's calls (those that
// differ between systems are in core/platform_*.cpp); a test derives from it
// and overrides the step it makes fail.
class FileLayer {
 public:
  FileLayer() = default;
  FileLayer(const FileLayer&) = delete;
  FileLayer& operator=(const FileLayer&) = delete;
  virtual ~FileLayer() = default;

  // A tag no earlier or concurrent run is likely to have used, for the
  // name of a temporary file.
  virtual std::string unique_tag();
  // Creates `path` for writing; fails with "file exists" when anything
  // stands there already. With `kept`, the file takes over those bits and,
  // where the system allows it, that owner and group.
  virtual std::error_code create(const std::filesystem::path& path, const std::optional<KeptAttributes>& kept,
                                 std::FILE*& file);
  virtual std::error_code write(std::FILE* file, std::string_view bytes);
  virtual std::error_code flush(std::FILE* file);
  // Waits until the file's bytes are on the disk itself.
  virtual std::error_code sync(std::FILE* file);
  // Closes the file whatever the outcome; an error is a late write error.
  virtual std::error_code close(std::FILE* file);
  // Puts `from` in the place of `to` in one step, replacing what was there
  // and writing the change of names through to the disk where the system
  // does that in the same call.
  virtual std::error_code rename(const std::filesystem::path& from, const std::filesystem::path& to);
  // Removes a file; a file that is not there is no error.
  virtual std::error_code remove(const std::filesystem::path& path);
  // Waits until the folder's list of names (a rename in it) is on the disk.
  virtual std::error_code sync_folder(const std::filesystem::path& folder);
};

// The layer of the running program: the system's own calls.
FileLayer& system_files();

}  // namespace makenc
