#include "core/files.h"

#include <string_view>
#include <system_error>

#include "core/platform.h"

namespace makenc {

namespace {

// A run that crashed may have left its temporary file, or anything else may
// stand at a name: such a name is passed over for a new one, never reused.
constexpr int kTemporaryNameTries = 100;
constexpr std::string_view kTemporaryEnding = ".tmp-makenc";
// The longest file name most file systems take.
constexpr std::size_t kLongestName = 255;

std::filesystem::path temporary_name(const std::filesystem::path& target, const std::string& tag) {
  const std::string tail = "." + tag + std::string(kTemporaryEnding);
  std::filesystem::path name = target.filename();
  // Beside a very long name the temporary file drops it, as it could not
  // be created otherwise. Counted in UTF-8 bytes, the strictest count of
  // the file systems in use (a Linux disk also counts them so under Wine).
  if (path_to_utf8(name).size() + tail.size() > kLongestName) name = "makenc";
  name += tail;
  return target.parent_path() / name;
}

std::error_code create_temporary(FileLayer& files, const std::filesystem::path& target,
                                 std::filesystem::path& temporary, std::FILE*& file) {
  const auto kept = attributes_to_keep(target);
  std::error_code ec;
  for (int i = 0; i < kTemporaryNameTries; ++i) {
    temporary = temporary_name(target, files.unique_tag());
    ec = files.create(temporary, kept, file);
    if (ec != std::errc::file_exists) return ec;
  }
  return ec;
}

// The whole content on the disk under the temporary name, closed.
std::error_code write_whole(FileLayer& files, std::FILE* file, const std::string& bytes) {
  std::error_code ec = files.write(file, bytes);
  if (!ec) ec = files.flush(file);
  if (!ec) ec = files.sync(file);
  const std::error_code closed = files.close(file);
  return ec ? ec : closed;
}

Error given_up(FileLayer& files, const std::filesystem::path& temporary, std::string message) {
  const std::error_code ec = files.remove(temporary);
  if (ec) message += " (the temporary file " + display_path(temporary) + " is left: " + ec.message() + ")";
  return Error{std::move(message)};
}

}  // namespace

std::string display_path(const std::filesystem::path& p) { return path_to_utf8(p); }

Status write_file_atomically(const std::filesystem::path& target, const std::string& bytes,
                             FileLayer& files) {
  std::filesystem::path temporary;
  std::FILE* file = nullptr;
  std::error_code ec = create_temporary(files, target, temporary, file);
  if (ec) return Error{"cannot create " + display_path(target) + ": " + ec.message()};
  ec = write_whole(files, file, bytes);
  if (ec) return given_up(files, temporary, "cannot write " + display_path(target) + ": " + ec.message());
  ec = files.rename(temporary, target);
  if (ec) return given_up(files, temporary, "cannot replace " + display_path(target) + ": " + ec.message());
  // The new content is on the disk whole before its name is; a folder that
  // cannot be synced only leaves open which of the two whole files a power
  // loss keeps, and the file is already replaced: no failure to report.
  static_cast<void>(files.sync_folder(target.parent_path()));
  return ok_status();
}

}  // namespace makenc
