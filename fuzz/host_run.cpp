#include "host_run.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <system_error>

#include "app/session.h"

namespace makenc::fuzz {
namespace {

namespace fs = std::filesystem;

// The preview a small main window would show: big enough for the material
// map to find parts, small enough for many runs a second.
constexpr int kPreviewWidth = 160;
constexpr int kPreviewHeight = 80;

std::string read_bytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void write_bytes(const fs::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary);
  out << bytes;
}

// One folder per process, emptied before every run. Unnamed drawings go
// below $HOME, so $HOME points into it as well.
const fs::path& host_folder() {
  static const fs::path folder = [] {
    std::error_code ec;
    fs::path base = fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
    fs::path f = base / ("makenc-fuzz-" + std::to_string(::getpid()));
    setenv("HOME", (f / "home").c_str(), 1);
    return f;
  }();
  return folder;
}

void lay_out(const fs::path& folder, const HostFiles& files) {
  std::error_code ec;
  fs::remove_all(folder, ec);
  fs::create_directories(folder / "Zemlak" / "Bin");
  fs::create_directories(folder / "home");
  write_bytes(folder / "JWC_TEMP.TXT", files.jwc_temp);
  const fs::path bin = folder / "Zemlak" / "Bin";
  write_bytes(bin / "set.ini", files.set_ini);
  write_bytes(bin / "head.ini", files.head);
  write_bytes(bin / "foot.ini", files.foot);
  write_bytes(bin / "sta_cut.ini", files.sta_cut);
  write_bytes(bin / "sta_mark.ini", files.sta_mark);
  write_bytes(bin / "end.ini", files.end);
}

bool motion_line(std::string_view line) {
  return line.size() >= 3 && line[0] == 'G' && line[1] == '0' && line[2] >= '0' && line[2] <= '3';
}

// The condition codes stand alone on their lines, as typed in the settings.
bool condition_code(const Settings& settings, std::string_view line) {
  for (const CondRow& row : settings.ini_Cond)
    if (line == row.K_Joukn()) return true;
  return line == settings.ini_M_Joukn;
}

void check_motion_lines(const fs::path& nc_file, const Settings& settings) {
  const std::string program = read_bytes(nc_file);
  std::size_t from = 0;
  while (from < program.size()) {
    std::size_t end = program.find("\r\n", from);
    if (end == std::string::npos) broken("the NC program does not end with CR LF");
    const std::string_view line(program.data() + from, end - from);
    if (motion_line(line) && !condition_code(settings, line) &&
        line.find_first_not_of("GXYIJ0123456789.-") != std::string_view::npos) {
      std::fprintf(stderr, "%.*s\n", static_cast<int>(line.size()), line.data());
      broken("a motion line holds something other than words and plain numbers");
    }
    from = end + 2;
  }
}

}  // namespace

HostFiles example_files() {
  const fs::path plate = fs::path(MAKENC_SOURCE_DIR) / "examples" / "plate";
  const fs::path bin = plate / "Zemlak" / "Bin";
  return HostFiles{read_bytes(plate / "JWC_TEMP.TXT"), read_bytes(bin / "set.ini"),
                   read_bytes(bin / "head.ini"),       read_bytes(bin / "foot.ini"),
                   read_bytes(bin / "sta_cut.ini"),    read_bytes(bin / "sta_mark.ini"),
                   read_bytes(bin / "end.ini")};
}

void run_host(const HostFiles& files, bool own_motion_lines) {
  const fs::path& folder = host_folder();
  lay_out(folder, files);
  const fs::path jwc = folder / "JWC_TEMP.TXT";
  auto session = open_session(folder);
  if (!session) {
    if (session.error().message.empty()) broken("start-up failed without a message");
    if (read_bytes(jwc) != files.jwc_temp) broken("start-up changed JWC_TEMP.TXT");
    return;
  }
  redraw(*session, kPreviewWidth, kPreviewHeight);
  // The check drawing exercises the hand-back's own records.
  session->options.check_drawing = true;
  run_assignment(*session);
  auto written = make_nc(*session);
  if (!written) {
    if (written.error().message.empty()) broken("NC generation failed without a message");
    if (read_bytes(jwc) != files.jwc_temp) broken("a failed NC run changed JWC_TEMP.TXT");
    return;
  }
  std::error_code ec;
  if (!fs::is_regular_file(written->file, ec)) broken("the NC program reported as written is missing");
  if (fs::exists(folder / "Zemlak" / "Bin" / "makeNC.txt", ec)) broken("the working copy was not removed");
  if (own_motion_lines) check_motion_lines(written->file, session->settings);
}

}  // namespace makenc::fuzz
