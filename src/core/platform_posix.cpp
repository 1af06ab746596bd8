// The platform layer on Linux and other POSIX systems.
#include <dlfcn.h>
#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>

#include "core/file_layer.h"
#include "core/platform.h"
#include "core/text.h"

namespace makenc {

namespace {

// Converts between encodings; a byte that cannot be converted becomes "?"
// so that a damaged name still shows in a message.
std::string convert(std::string_view in, const char* from, const char* to) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(in);
  std::unique_ptr<void, int (*)(iconv_t)> guard(cd, iconv_close);
  std::string out;
  std::string src(in);
  char* inp = src.data();
  std::size_t inleft = src.size();
  char buf[1024];
  while (inleft > 0) {
    char* outp = buf;
    std::size_t outleft = sizeof buf;
    const std::size_t rc = iconv(cd, &inp, &inleft, &outp, &outleft);
    out.append(buf, static_cast<std::size_t>(outp - buf));
    if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
      out += '?';
      ++inp;
      --inleft;
    }
  }
  return out;
}

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

void write_all(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n <= 0) return;  // nowhere left to tell the user
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
}

}  // namespace

std::string cp932_to_utf8(std::string_view bytes) { return convert(bytes, "CP932", "UTF-8"); }
std::string utf8_to_cp932(std::string_view text) { return convert(text, "UTF-8", "CP932"); }

std::filesystem::path path_from_utf8(std::string_view utf8) {
  return std::filesystem::path(std::string(utf8));
}
std::string path_to_utf8(const std::filesystem::path& path) { return path.string(); }

Result<std::filesystem::path> start_folder() {
  std::error_code ec;
  std::filesystem::path folder = std::filesystem::current_path(ec);
  if (ec) return Error{"cannot read the current folder: " + ec.message()};
  return folder;
}

Result<std::filesystem::path> unnamed_drawing_folder() {
  const char* home = std::getenv("HOME");
  if (home == nullptr || *home == '\0')
    return Error{"the drawing has no name and HOME is not set: no folder for the NC program"};
  return std::filesystem::path(home) / "jww" / "Zemlak";
}

CalendarDate today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

unsigned long process_number() { return static_cast<unsigned long>(::getpid()); }

void keep_freed_memory() {
#ifdef __GLIBC__
  // Blocks under a megabyte come from the allocator's heap, which is not
  // trimmed below what a run of a hundred thousand entities holds; the
  // tables of a stage, larger, are maps of their own that go back whole
  // when freed, so they never leave the heap full of holes no later
  // block fits in. A map is backed only where it is used.
  mallopt(M_MMAP_THRESHOLD, 1024 * 1024);
  mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
#endif
}

Result<int> run_window_module(std::string_view module, std::initializer_list<std::string_view> folders,
                              int argc, char** argv, const std::filesystem::path& folder) {
  std::error_code ec;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return Error{"cannot find the program's own folder: " + ec.message()};
  std::filesystem::path file;
  for (const std::string_view f : folders) {
    file = (program.parent_path() / f / module).lexically_normal();
    if (std::filesystem::exists(file, ec)) break;
  }
  // Loaded for the rest of the run: the window's objects live until exit.
  void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) return Error{std::string("cannot load the window: ") + dlerror()};
  using Entry = int (*)(int, char**, const std::filesystem::path*);
  auto* entry = reinterpret_cast<Entry>(dlsym(handle, "makenc_run_desktop"));
  if (entry == nullptr) return Error{"the window's module has no entry: " + file.string()};
  return entry(argc, argv, &folder);
}

void write_standard_output(std::string_view utf8) { write_all(STDOUT_FILENO, utf8); }
void write_standard_error(std::string_view utf8) { write_all(STDERR_FILENO, utf8); }

std::vector<std::string> command_line_arguments(int argc, char** argv) {
  return std::vector<std::string>(argv + 1, argv + argc);
}

// The file layer's steps, with the system's calls.

std::optional<KeptAttributes> attributes_to_keep(const std::filesystem::path& target) {
  struct stat st {};
  if (::stat(target.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  // Set-id and sticky bits are not carried over to a file of our making.
  return KeptAttributes{static_cast<mode_t>(st.st_mode & kPermissionBits), st.st_uid, st.st_gid};
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

std::error_code FileLayer::sync(std::FILE* file) {
  if (::fsync(::fileno(file)) != 0) return last_error();
  return {};
}

std::error_code FileLayer::rename(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (::rename(from.c_str(), to.c_str()) != 0) return last_error();
  return {};
}

std::error_code FileLayer::sync_folder(const std::filesystem::path& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return last_error();
  std::error_code ec;
  if (::fsync(fd) != 0) ec = last_error();
  ::close(fd);
  return ec;
}

}  // namespace makenc
