#include "core/files.h"

#include <cerrno>
#include <cstdio>
#include <system_error>

namespace makenc {

std::string display_path(const std::filesystem::path& p) { return p.string(); }

Status write_file_atomically(const std::filesystem::path& target, const std::string& bytes) {
  std::filesystem::path tmp = target;
  tmp += ".tmp-makenc";
  std::FILE* f = std::fopen(tmp.c_str(), "wb");
  if (f == nullptr)
    return Error{"cannot create " + display_path(target) + ": " + std::generic_category().message(errno)};
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = (std::fflush(f) == 0) && ok;
  const int write_errno = errno;
  ok = (std::fclose(f) == 0) && ok;
  std::error_code ec;
  if (!ok) {
    std::filesystem::remove(tmp, ec);
    return Error{"cannot write " + display_path(target) + ": " + std::generic_category().message(write_errno)};
  }
  std::filesystem::rename(tmp, target, ec);
  if (ec) {
    std::error_code ignored;
    std::filesystem::remove(tmp, ignored);
    return Error{"cannot replace " + display_path(target) + ": " + ec.message()};
  }
  return ok_status();
}

}  // namespace makenc
