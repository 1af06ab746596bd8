// The platform layer on Windows: wide file names, code page 932 by the
// system's own tables, the replace of a file by MoveFileExW.
#include <fcntl.h>
#include <io.h>
#include <windows.h>
// After windows.h:
#include <shellapi.h>

#include <cstdio>

#include "core/file_layer.h"
#include "core/platform.h"
#include "core/text.h"

namespace makenc {

namespace {

constexpr UINT kCodePage932 = 932;

std::wstring to_wide(UINT code_page, DWORD flags, std::string_view bytes) {
  if (bytes.empty()) return {};
  const int size = static_cast<int>(bytes.size());
  const int n = ::MultiByteToWideChar(code_page, flags, bytes.data(), size, nullptr, 0);
  if (n <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  ::MultiByteToWideChar(code_page, flags, bytes.data(), size, wide.data(), n);
  return wide;
}

std::string from_wide(UINT code_page, std::wstring_view wide) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  // Code page 932 takes no best fit: a character it cannot hold is "?", not
  // a look-alike that would name another file.
  const DWORD flags = code_page == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
  const char* fallback = code_page == CP_UTF8 ? nullptr : "?";
  const int n = ::WideCharToMultiByte(code_page, flags, wide.data(), size, nullptr, 0, fallback, nullptr);
  if (n <= 0) return {};
  std::string bytes(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(code_page, flags, wide.data(), size, bytes.data(), n, fallback, nullptr);
  return bytes;
}

// The system's error as the error of the C library the messages name, so
// that a message reads the same on every system.
std::error_code system_error(DWORD code = ::GetLastError()) {
  std::errc e = std::errc::io_error;
  switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME: e = std::errc::no_such_file_or_directory; break;
    case ERROR_ACCESS_DENIED:
    case ERROR_CURRENT_DIRECTORY: e = std::errc::permission_denied; break;
    case ERROR_WRITE_PROTECT: e = std::errc::read_only_file_system; break;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: e = std::errc::device_or_resource_busy; break;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: e = std::errc::file_exists; break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: e = std::errc::no_space_on_device; break;
    case ERROR_FILENAME_EXCED_RANGE: e = std::errc::filename_too_long; break;
    case ERROR_INVALID_NAME: e = std::errc::invalid_argument; break;
    case ERROR_DIRECTORY: e = std::errc::not_a_directory; break;
    default: break;
  }
  return std::make_error_code(e);
}

// The attributes a replacing file takes over; the rest (compressed,
// encrypted, sparse, ...) are the file system's own business.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

constexpr std::wstring_view kLongPrefix = L"\\\\?\\";
constexpr std::wstring_view kLongUncPrefix = L"\\\\?\\UNC\\";

void write_standard(DWORD which, std::string_view utf8) {
  if (utf8.empty()) return;
  HANDLE h = ::GetStdHandle(which);
  if (h == nullptr || h == INVALID_HANDLE_VALUE) {
    // A window program has no standard handles unless it was given some;
    // started from a console, it writes to that console.
    static const bool attached = ::AttachConsole(ATTACH_PARENT_PROCESS) != 0;
    if (!attached) return;
    h = ::GetStdHandle(which);
    if (h == nullptr || h == INVALID_HANDLE_VALUE) return;
  }
  DWORD mode = 0;
  if (::GetConsoleMode(h, &mode) != 0) {
    const std::wstring wide = utf8_to_wide(utf8);
    DWORD written = 0;
    ::WriteConsoleW(h, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    return;
  }
  while (!utf8.empty()) {
    DWORD written = 0;
    if (::WriteFile(h, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr) == 0 || written == 0)
      return;  // nowhere left to tell the user
    utf8.remove_prefix(written);
  }
}

}  // namespace

std::wstring utf8_to_wide(std::string_view utf8) { return to_wide(CP_UTF8, 0, utf8); }
std::string wide_to_utf8(std::wstring_view wide) { return from_wide(CP_UTF8, wide); }
std::string wide_to_cp932(std::wstring_view wide) { return from_wide(kCodePage932, wide); }

std::wstring cp932_to_wide(std::string_view bytes) {
  // Character by character, so that a byte that is no character becomes
  // "?" on its own, as on every system, and the rest still shows.
  std::wstring wide;
  wide.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      wide += static_cast<wchar_t>(b);
      ++i;
      continue;
    }
    const std::size_t n = char_length(bytes, i);
    const bool stray = n == 1 && (is_lead_byte(b) || b == 0x80 || b == 0xA0 || b >= 0xFD);
    const std::wstring c =
        stray ? std::wstring() : to_wide(kCodePage932, MB_ERR_INVALID_CHARS, bytes.substr(i, n));
    if (c.empty()) {
      wide += L'?';
      ++i;
    } else {
      wide += c;
      i += n;
    }
  }
  return wide;
}

std::string cp932_to_utf8(std::string_view bytes) { return wide_to_utf8(cp932_to_wide(bytes)); }
std::string utf8_to_cp932(std::string_view text) { return wide_to_cp932(utf8_to_wide(text)); }

std::filesystem::path path_from_utf8(std::string_view utf8) {
  return std::filesystem::path(utf8_to_wide(utf8));
}

std::string path_to_utf8(const std::filesystem::path& path) {
  std::wstring_view shown = path.native();
  if (shown.starts_with(kLongUncPrefix)) return "\\\\" + wide_to_utf8(shown.substr(kLongUncPrefix.size()));
  if (shown.starts_with(kLongPrefix)) shown.remove_prefix(kLongPrefix.size());
  return wide_to_utf8(shown);
}

Result<std::filesystem::path> start_folder() {
  std::error_code ec;
  const std::filesystem::path folder = std::filesystem::current_path(ec);
  if (ec) return Error{"cannot read the current folder: " + ec.message()};
  // With the long form's prefix every call below takes names beyond 260
  // characters; the program never builds a path with "." or ".." or "/".
  const std::wstring& name = folder.native();
  if (name.starts_with(kLongPrefix)) return folder;
  if (name.starts_with(L"\\\\")) return std::filesystem::path(std::wstring(kLongUncPrefix) + name.substr(2));
  if (name.size() >= 3 && name[1] == L':' && name[2] == L'\\')
    return std::filesystem::path(std::wstring(kLongPrefix) + name);
  return folder;
}

Result<std::filesystem::path> unnamed_drawing_folder() {
  return std::filesystem::path(std::wstring(kLongPrefix) + L"C:\\jww\\Zemlak");
}

CalendarDate today() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay};
}

unsigned long process_number() { return ::GetCurrentProcessId(); }

void keep_freed_memory() {}  // the system's heap keeps what is freed

void write_standard_output(std::string_view utf8) { write_standard(STD_OUTPUT_HANDLE, utf8); }
void write_standard_error(std::string_view utf8) { write_standard(STD_ERROR_HANDLE, utf8); }

std::vector<std::string> command_line_arguments(int argc, char** argv) {
  // The narrow arguments went through the machine's code page; the wide
  // ones hold every character the user typed.
  int count = 0;
  LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (wide == nullptr) return std::vector<std::string>(argv + 1, argv + argc);
  std::vector<std::string> args;
  for (int i = 1; i < count; ++i) args.push_back(wide_to_utf8(wide[i]));
  ::LocalFree(wide);
  return args;
}

// The file layer's steps, with the system's calls.

std::optional<KeptAttributes> attributes_to_keep(const std::filesystem::path& target) {
  const DWORD attributes = ::GetFileAttributesW(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
    return std::nullopt;
  return KeptAttributes{attributes & kKeptAttributes};
}

std::error_code FileLayer::create(const std::filesystem::path& path,
                                  const std::optional<KeptAttributes>& kept, std::FILE*& file) {
  file = nullptr;
  // Read-only comes last, once the file has taken the old one's place.
  DWORD attributes = kept ? kept->attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY) : 0;
  if (attributes == 0) attributes = FILE_ATTRIBUTE_NORMAL;
  HANDLE h = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr);
  if (h == INVALID_HANDLE_VALUE) return system_error();
  const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(h), _O_WRONLY | _O_BINARY);
  if (fd < 0) {
    ::CloseHandle(h);
    return std::make_error_code(std::errc::too_many_files_open);
  }
  file = ::_fdopen(fd, "wb");
  if (file == nullptr) {
    ::_close(fd);
    return std::make_error_code(std::errc::too_many_files_open);
  }
  return {};
}

std::error_code FileLayer::sync(std::FILE* file) {
  const auto h = reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(file)));
  if (::FlushFileBuffers(h) == 0) return system_error();
  return {};
}

std::error_code FileLayer::rename(const std::filesystem::path& from, const std::filesystem::path& to) {
  const DWORD old = ::GetFileAttributesW(to.c_str());
  const bool exists = old != INVALID_FILE_ATTRIBUTES;
  // The system would only say "access denied".
  if (exists && (old & FILE_ATTRIBUTE_DIRECTORY) != 0) return std::make_error_code(std::errc::is_a_directory);
  // A read-only file is replaced as any other and the new file is read-only
  // again, as the permission bits pass on elsewhere.
  const bool read_only = exists && (old & FILE_ATTRIBUTE_READONLY) != 0;
  if (read_only && ::SetFileAttributesW(to.c_str(), old & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY)) == 0)
    return system_error();
  if (::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == 0) {
    const std::error_code ec = system_error();
    if (read_only) ::SetFileAttributesW(to.c_str(), old);
    return ec;
  }
  if (read_only) {
    const DWORD now = ::GetFileAttributesW(to.c_str());
    if (now != INVALID_FILE_ATTRIBUTES) ::SetFileAttributesW(to.c_str(), now | FILE_ATTRIBUTE_READONLY);
  }
  return {};
}

std::error_code FileLayer::sync_folder(const std::filesystem::path& /*folder*/) {
  // MOVEFILE_WRITE_THROUGH returned only once the new name was on the disk.
  return {};
}

}  // namespace makenc
