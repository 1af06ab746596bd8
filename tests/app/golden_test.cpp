// Whole runs of the program on host folders, compared byte for byte with
// reviewed expected files: the NC program, the handed-back interchange file,
// standard output and error, and the exit code. Every NC program a run
// writes also goes through the G-code interpreter check.
//
// tests/golden/<case>/args          the command line, one argument a line
// tests/golden/<case>/input/        the host folder as the host leaves it
// tests/golden/<case>/expected/     exit_code, stdout, stderr, and files/
//                                   with every file expected afterwards;
//                                   "absent" lists files that must be gone.
// Today's date is written as @DATE@ (yyyy/MM/dd) and @DATE-@ (yyyy-MM-dd),
// the scratch folder as @FOLDER@ and the run's home folder as @HOME@. MAKENC_UPDATE_GOLDEN=1 rewrites
// expected/ from the actual run, for review before committing.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "core/temp_folder.h"
#include "nc/make_nc.h"

namespace fs = std::filesystem;
using makenc::testing::file_bytes;

namespace {

const fs::path kGolden = fs::path(MAKENC_SOURCE_DIR) / "tests" / "golden";

void write_file(const fs::path& p, const std::string& s) {
  fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << s;
}

void replace_all(std::string& s, const std::string& from, const std::string& to) {
  if (from.empty()) return;
  for (std::size_t i = s.find(from); i != std::string::npos; i = s.find(from, i + to.size()))
    s.replace(i, from.size(), to);
}

std::vector<std::string> lines_of(const fs::path& p) {
  std::vector<std::string> out;
  std::istringstream in(file_bytes(p));
  for (std::string line; std::getline(in, line);)
    if (!line.empty()) out.push_back(line);
  return out;
}

std::string shell_quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

class Scratch {
 public:
  Scratch() {
    dir_ = fs::temp_directory_path() /
           ("makenc-golden-" + std::to_string(::getpid()) + "-" + std::to_string(counter_++));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  ~Scratch() {
    std::error_code ec;
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(dir_, ec);
  }
  const fs::path& path() const { return dir_; }

 private:
  static inline int counter_ = 0;
  fs::path dir_;
};

struct RunResult {
  int exit_code = -1;
  std::string out, err;
};

RunResult run_makenc(const fs::path& folder, const std::vector<std::string>& args, const fs::path& home) {
  std::string cmd = "cd " + shell_quote(folder.string()) + " && HOME=" + shell_quote(home.string()) +
                    " LC_ALL=C.UTF-8 " + shell_quote(MAKENC_BINARY);
  for (const auto& a : args) {
    cmd += ' ';
    cmd += shell_quote(a);
  }
  cmd += " >../stdout 2>../stderr";
  const int status = std::system(cmd.c_str());
  RunResult r;
  r.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  r.out = file_bytes(folder / ".." / "stdout");
  r.err = file_bytes(folder / ".." / "stderr");
  return r;
}

std::string dashed_date() {
  std::string dashed = makenc::short_date_today();
  for (char& c : dashed)
    if (c == '/') c = '-';
  return dashed;
}

std::string normalise(std::string s, const fs::path& folder, const fs::path& home) {
  replace_all(s, folder.string(), "@FOLDER@");
  replace_all(s, home.string(), "@HOME@");
  replace_all(s, makenc::short_date_today(), "@DATE@");
  replace_all(s, dashed_date(), "@DATE-@");
  return s;
}

// An expected file named after the date stands for today's file.
fs::path dated(const fs::path& rel) {
  std::string s = rel.string();
  replace_all(s, "@DATE-@", dashed_date());
  return s;
}

fs::path nc_check() {
  if (const char* env = std::getenv("MAKENC_NC_CHECK")) return env;
  return fs::path(MAKENC_SOURCE_DIR) / "tests" / "tools" / "nc-check";
}

void expect_nc_check_passes(const fs::path& nc_file, const fs::path& set_ini) {
  std::string cmd = shell_quote(nc_check().string()) + " --set-ini " + shell_quote(set_ini.string()) + " " +
                    shell_quote(nc_file.string()) + " > " + shell_quote(nc_file.string() + ".check") +
                    " 2>&1";
  const int status = std::system(cmd.c_str());
  const std::string report = file_bytes(nc_file.string() + ".check");
  fs::remove(nc_file.string() + ".check");
  EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 0)
      << nc_file.filename() << " fails the G-code check:\n"
      << report;
}

class Golden : public ::testing::TestWithParam<std::string> {};

TEST_P(Golden, RunMatchesTheExpectedFiles) {
  const fs::path dir = kGolden / GetParam();
  Scratch scratch;
  const fs::path folder = scratch.path() / "host";
  const fs::path home = scratch.path() / "home";
  fs::copy(dir / "input", folder, fs::copy_options::recursive);
  fs::create_directories(home / "jww" / "Zemlak");
  const RunResult run = run_makenc(folder, lines_of(dir / "args"), home);

  const fs::path expected = dir / "expected";
  const bool update = std::getenv("MAKENC_UPDATE_GOLDEN") != nullptr;
  const std::string out = normalise(run.out, folder, home);
  const std::string err = normalise(run.err, folder, home);
  if (update) {
    write_file(expected / "exit_code", std::to_string(run.exit_code) + "\n");
    write_file(expected / "stdout", out);
    write_file(expected / "stderr", err);
  }
  EXPECT_EQ(std::to_string(run.exit_code) + "\n", file_bytes(expected / "exit_code")) << err;
  EXPECT_EQ(out, file_bytes(expected / "stdout"));
  EXPECT_EQ(err, file_bytes(expected / "stderr"));

  if (fs::exists(expected / "files")) {
    for (const auto& entry : fs::recursive_directory_iterator(expected / "files")) {
      if (!entry.is_regular_file()) continue;
      const fs::path rel = dated(fs::relative(entry.path(), expected / "files"));
      const fs::path actual =
          (rel.begin()->string() == "HOME") ? home / fs::relative(rel, "HOME") : folder / rel;
      ASSERT_TRUE(fs::exists(actual)) << rel << " was not written";
      const std::string got = normalise(file_bytes(actual), folder, home);
      if (update) write_file(entry.path(), got);
      EXPECT_EQ(got, file_bytes(entry.path())) << rel << " differs";
    }
  }
  if (fs::exists(expected / "absent")) {
    for (const auto& rel : lines_of(expected / "absent")) {
      EXPECT_FALSE(fs::exists(folder / rel)) << rel << " should not exist";
    }
  }

  for (const fs::path& where : {folder / "Zemlak", home / "jww" / "Zemlak"}) {
    if (!fs::is_directory(where)) continue;
    for (const auto& entry : fs::directory_iterator(where)) {
      if (entry.is_regular_file() && entry.path().extension() == ".nc")
        expect_nc_check_passes(entry.path(), folder / "Zemlak" / "Bin" / "set.ini");
    }
  }
}

std::vector<std::string> golden_cases() {
  std::vector<std::string> cases;
  if (fs::exists(kGolden))
    for (const auto& entry : fs::directory_iterator(kGolden))
      if (fs::exists(entry.path() / "args")) cases.push_back(entry.path().filename().string());
  std::sort(cases.begin(), cases.end());
  return cases;
}

std::string case_name(const ::testing::TestParamInfo<std::string>& param_info) {
  std::string name = param_info.param;
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(Cases, Golden, ::testing::ValuesIn(golden_cases()), case_name);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(Golden);

}  // namespace
