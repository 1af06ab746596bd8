#include "support/whole_run.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>

#include "core/number_text.h"
#include "core/settings.h"
#include "core/shop_options.h"
#include "core/text.h"
#include "support/files.h"

namespace makenc::test {

namespace fs = std::filesystem;

namespace {

int exit_code_of(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : -1; }

fs::path nc_check() {
  if (const char* env = std::getenv("MAKENC_NC_CHECK")) return env;
  return fs::path(MAKENC_SOURCE_DIR) / "tests" / "tools" / "nc-check";
}

}  // namespace

std::string shell_quote(const std::string& text) {
  std::string q = "'";
  for (char c : text) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

RunResult run_makenc(const fs::path& folder, const std::vector<std::string>& args, const fs::path& home) {
  const fs::path out = folder.parent_path() / "stdout";
  const fs::path err = folder.parent_path() / "stderr";
  std::string cmd = "cd " + shell_quote(folder.string()) + " && HOME=" + shell_quote(home.string()) +
                    " LC_ALL=C.UTF-8 " + shell_quote(MAKENC_BINARY);
  for (const auto& a : args) cmd += " " + shell_quote(a);
  cmd += " >" + shell_quote(out.string()) + " 2>" + shell_quote(err.string());
  RunResult r;
  r.exit_code = exit_code_of(std::system(cmd.c_str()));
  r.out = file_bytes(out);
  r.err = file_bytes(err);
  return r;
}

std::vector<fs::path> nc_programs_in(const fs::path& folder) {
  std::vector<fs::path> programs;
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) return programs;
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.is_regular_file() && entry.path().extension() == ".nc") programs.push_back(entry.path());
  std::sort(programs.begin(), programs.end());
  return programs;
}

namespace {

// The check's options for what "option.ini" beside the settings asks for.
std::string shop_option_args(const fs::path& set_ini) {
  const auto lines = read_text_lines(set_ini.parent_path() / "option.ini");
  if (!lines) return "";
  const auto shop = read_option_lines(*lines);
  if (!shop) return "";
  std::string args;
  if (shop->lead_in == LeadInShape::arc) args += " --leadin-moves 2";
  if (shop->overcut > 0) {
    Settings settings;
    read_set_ini(set_ini, settings);
    args += " --joint " + double_text(std::max(shop->overcut, static_cast<double>(settings.ini_joint)));
  }
  return args;
}

}  // namespace

void expect_nc_check_passes(const fs::path& nc_file, const fs::path& set_ini) {
  // Beside the program, under a name that is never too long.
  const fs::path report = nc_file.parent_path() / "nc-check.report";
  const std::string cmd = shell_quote(nc_check().string()) + " --set-ini " + shell_quote(set_ini.string()) +
                          shop_option_args(set_ini) + " " + shell_quote(nc_file.string()) + " > " +
                          shell_quote(report.string()) + " 2>&1";
  const int status = std::system(cmd.c_str());
  const std::string text = file_bytes(report);
  fs::remove(report);
  EXPECT_EQ(exit_code_of(status), 0) << nc_file.filename() << " fails the G-code check:\n" << text;
}

}  // namespace makenc::test
