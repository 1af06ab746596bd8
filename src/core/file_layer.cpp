#include "core/file_layer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <exception>
#include <random>

namespace makenc {

namespace {

std::error_code last_error(int fallback = EIO) {
  // A short write may leave errno unset: it is still a failure.
  return {errno != 0 ? errno : fallback, std::generic_category()};
}

constexpr mode_t kPermissionBits = S_IRWXU | S_IRWXG | S_IRWXO;

// Root can hand the file back to its owner; anyone else can at most keep the
// group, when they belong to it. Neither is worth failing the write for.
void keep_owner(int fd, const KeptAttributes& kept) {
  if (kept.owner == ::geteuid() && kept.group == ::getegid()) return;
  if (::fchown(fd, kept.owner, kept.group) == 0) return;
  if (::fchown(fd, static_cast<uid_t>(-1), kept.group) != 0) {
    // The file stays ours, with the bits set below.
  }
}

unsigned long long random_number() {
  try {
    std::random_device rd;
    return rd();
  } catch (const std::exception&) {
    // Without a source of randomness the clock still tells runs apart.
    return static_cast<unsigned long long>(std::chrono::system_clock::now().time_since_epoch().count());
  }
}

}  // namespace

std::optional<KeptAttributes> attributes_to_keep(const std::filesystem::path& target) {
  struct stat st {};
  if (::stat(target.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  // Set-id and sticky bits are not carried over to a file of our making.
  return KeptAttributes{static_cast<mode_t>(st.st_mode & kPermissionBits), st.st_uid, st.st_gid};
}

std::string FileLayer::unique_tag() {
  // The process number keeps two runs at the same time apart; the random
  // part keeps apart a crashed run's leftover and a later run that happens
  // to get the same process number.
  static constexpr char kHex[] = "0123456789abcdef";
  auto hex = [](unsigned long long v) {
    std::string s;
    do {
      s.insert(s.begin(), kHex[v % 16]);
      v /= 16;
    } while (v != 0);
    return s;
  };
  return hex(static_cast<unsigned long long>(::getpid())) + "-" + hex(random_number());
}

std::error_code FileLayer::create(const std::filesystem::path& path,
                                  const std::optional<KeptAttributes>& kept, std::FILE*& file) {
  file = nullptr;
  // A new file gets what the user's umask leaves, as any file the program
  // writes. A replacing one starts private and opens up only to the bits of
  // the file it replaces, so it is never more open than that file even
  // when the bits cannot be set.
  const mode_t initial = kept ? static_cast<mode_t>(S_IRUSR | S_IWUSR) : static_cast<mode_t>(0666);
  errno = 0;
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, initial);
  if (fd < 0) return last_error();
  if (kept) {
    keep_owner(fd, *kept);  // before the bits: a change of owner clears set-id bits
    if (::fchmod(fd, kept->mode) != 0) {
      // Left private: readable by its writer, who is the host's user.
    }
  }
  file = ::fdopen(fd, "wb");
  if (file == nullptr) {
    const std::error_code ec = last_error();
    ::close(fd);
    return ec;
  }
  return {};
}

std::error_code FileLayer::write(std::FILE* file, std::string_view bytes) {
  errno = 0;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) return last_error();
  return {};
}

std::error_code FileLayer::flush(std::FILE* file) {
  errno = 0;
  if (std::fflush(file) != 0) return last_error();
  return {};
}

std::error_code FileLayer::sync(std::FILE* file) {
  if (::fsync(::fileno(file)) != 0) return last_error();
  return {};
}

std::error_code FileLayer::close(std::FILE* file) {
  errno = 0;
  if (std::fclose(file) != 0) return last_error();
  return {};
}

std::error_code FileLayer::rename(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (::rename(from.c_str(), to.c_str()) != 0) return last_error();
  return {};
}

std::error_code FileLayer::remove(const std::filesystem::path& path) {
  std::error_code ec;
  std::filesystem::remove(path, ec);
  return ec;
}

std::error_code FileLayer::sync_folder(const std::filesystem::path& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return last_error();
  std::error_code ec;
  if (::fsync(fd) != 0) ec = last_error();
  ::close(fd);
  return ec;
}

FileLayer& system_files() {
  static FileLayer files;
  return files;
}

}  // namespace makenc
