// What differs between the systems the program runs on, in one place:
// platform_posix.cpp for Linux, platform_win32.cpp for Windows (the build
// compiles one of them). Everything else of the program is the same source.
//
// Also defined by these two files: the file layer's system steps
// (core/file_layer.h) and the conversions cp932_to_utf8 and utf8_to_cp932
// (core/text.h). Code page 932 is converted by the system's own tables for
// that code page, never through the code page the machine is set to.
#pragma once

#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"

#ifndef _WIN32
#include <sys/types.h>
#endif

namespace makenc {

// What a new file takes over from the file it replaces, so that the host
// finds its file as readable and writable as before.
#ifdef _WIN32
struct KeptAttributes {
  unsigned long attributes = 0;  // read-only, hidden, system, archive, not indexed
};
#else
struct KeptAttributes {
  mode_t mode = 0;  // read, write and execute bits of owner, group and others only
  uid_t owner = 0;
  gid_t group = 0;
};
#endif

// A path from UTF-8 text (a name converted from code page 932, a command
// line argument), and back for a message.
std::filesystem::path path_from_utf8(std::string_view utf8);
std::string path_to_utf8(const std::filesystem::path& path);

// The folder the program was started in, as the host left it, in a form
// every later file call takes, however long the names below it grow.
Result<std::filesystem::path> start_folder();

// The folder that receives the NC program of a drawing without a name:
// "C:\jww\Zemlak\" on Windows, $HOME/jww/Zemlak elsewhere.
Result<std::filesystem::path> unnamed_drawing_folder();

// Today's date from the system clock in local time, whatever the language
// and date format the machine is set to.
struct CalendarDate {
  int year = 0;
  int month = 0;
  int day = 0;
};
CalendarDate today();

// The number of the running process.
unsigned long process_number();

// Asks the allocator to keep the small blocks a stage frees for the next
// stage, and to hand the large ones back: the stages of a run build and drop
// tables of megabytes one after another.
void keep_freed_memory();

// The window kept in a shared module of its own, so that the batch modes
// never load a toolkit: loads `module` from the first of `folders` (relative
// to the program's own folder) that holds it, the last one if none does,
// and runs its `makenc_run_desktop(argc, argv, &folder)`, which gives the
// exit code. Fails with the loader's reason when the module or its entry
// cannot be loaded. (The Windows program holds its window itself.)
#ifndef _WIN32
Result<int> run_window_module(std::string_view module, std::initializer_list<std::string_view> folders,
                              int argc, char** argv, const std::filesystem::path& folder);
#endif

// Text for the user on standard output or standard error, given as UTF-8:
// a console gets characters, a file or pipe the bytes.
void write_standard_output(std::string_view utf8);
void write_standard_error(std::string_view utf8);

// The command line's arguments after the program's name, as UTF-8.
std::vector<std::string> command_line_arguments(int argc, char** argv);

#ifdef _WIN32
// UTF-16 for the system's wide calls.
std::wstring utf8_to_wide(std::string_view utf8);
std::string wide_to_utf8(std::wstring_view wide);
std::wstring cp932_to_wide(std::string_view bytes);
// Characters code page 932 cannot hold become "?".
std::string wide_to_cp932(std::wstring_view wide);
#endif

}  // namespace makenc
