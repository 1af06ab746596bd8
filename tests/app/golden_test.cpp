// Whole runs of the program on host folders, compared byte for byte with
// reviewed expected files: the NC program, the handed-back interchange file,
// standard output and error, and the exit code. Every NC program a run
// writes also goes through the G-code interpreter check, and a run that
// fails leaves "JWC_TEMP.TXT" exactly as the host wrote it and no NC
// program for the machine.
//
// tests/golden/<case>/  runs of the sample and of real drawings;
// tests/bad/<case>/     runs on drawings, settings and folders the host or
//                       the user may get wrong. Both hold:
//   args          the command line, one argument a line
//   input/        the host folder as the host leaves it
//   expected/     exit_code, stdout, stderr, and files/ with every file
//                 expected afterwards (HOME/ for the home folder);
//                 "absent" lists files that must be gone.
//   readonly      files of input/ made read-only before the run; they
//                 must be read-only after it.
// Today's date is written as @DATE@ (yyyy/MM/dd) and @DATE-@ (yyyy-MM-dd),
// the scratch folder as @FOLDER@ and the run's home folder as @HOME@.
// MAKENC_UPDATE_GOLDEN=1 rewrites expected/ from the actual run, for review
// before committing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "nc/nc_program.h"
#include "support/files.h"
#include "support/whole_run.h"

namespace makenc {
namespace {

namespace fs = std::filesystem;
using test::file_bytes;
using test::write_file;

const fs::path kTests = fs::path(MAKENC_SOURCE_DIR) / "tests";

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

std::string dashed_date() {
  std::string dashed = short_date_today();
  std::replace(dashed.begin(), dashed.end(), '/', '-');
  return dashed;
}

std::string normalise(std::string s, const fs::path& folder, const fs::path& home) {
  replace_all(s, folder.string(), "@FOLDER@");
  replace_all(s, home.string(), "@HOME@");
  replace_all(s, short_date_today(), "@DATE@");
  replace_all(s, dashed_date(), "@DATE-@");
  return s;
}

// An expected file named after the date stands for today's file.
fs::path dated(const fs::path& rel) {
  std::string s = rel.string();
  replace_all(s, "@DATE-@", dashed_date());
  return s;
}

// The folder of one case, below tests/.
class Golden : public ::testing::TestWithParam<std::string> {};

TEST_P(Golden, RunMatchesTheExpectedFiles) {
  const fs::path dir = kTests / GetParam();
  test::TempFolder scratch;
  const fs::path folder = scratch.path() / "host";
  const fs::path home = scratch.path() / "home";
  fs::copy(dir / "input", folder, fs::copy_options::recursive);
  fs::create_directories(home / "jww" / "Zemlak");
  const std::vector<std::string> read_only =
      fs::exists(dir / "readonly") ? lines_of(dir / "readonly") : std::vector<std::string>{};
  constexpr fs::perms kWrite = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  for (const auto& rel : read_only) fs::permissions(folder / rel, kWrite, fs::perm_options::remove);
  const test::RunResult run = test::run_makenc(folder, lines_of(dir / "args"), home);

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

  for (const auto& rel : read_only)
    EXPECT_EQ(fs::status(folder / rel).permissions() & kWrite, fs::perms::none)
        << rel << " is no longer read-only";

  std::vector<fs::path> programs = test::nc_programs_in(folder / "Zemlak");
  for (const fs::path& p : test::nc_programs_in(home / "jww" / "Zemlak")) programs.push_back(p);
  // A program the host folder held before the run, byte for byte, is not
  // the run's (--check-nc judges one).
  std::erase_if(programs, [&](const fs::path& p) {
    const fs::path given = dir / "input" / fs::relative(p, folder);
    return fs::exists(given) && file_bytes(given) == file_bytes(p);
  });
  if (run.exit_code != 0) {
    // Nothing for the machine, and the host's file as the host wrote it.
    EXPECT_TRUE(programs.empty()) << programs.front() << " was left by a failing run";
    EXPECT_EQ(fs::exists(folder / "JWC_TEMP.TXT"), fs::exists(dir / "input" / "JWC_TEMP.TXT"));
    EXPECT_TRUE(file_bytes(folder / "JWC_TEMP.TXT") == file_bytes(dir / "input" / "JWC_TEMP.TXT"))
        << "JWC_TEMP.TXT was changed by a failing run";
  }
  for (const fs::path& nc : programs) test::expect_nc_check_passes(nc, folder / "Zemlak" / "Bin" / "set.ini");
}

// Every folder below tests/<set> that holds an "args" file.
std::vector<std::string> cases_in(const std::string& set) {
  std::vector<std::string> cases;
  if (fs::exists(kTests / set))
    for (const auto& entry : fs::directory_iterator(kTests / set))
      if (fs::exists(entry.path() / "args")) cases.push_back(set + "/" + entry.path().filename().string());
  std::sort(cases.begin(), cases.end());
  return cases;
}

std::string case_name(const ::testing::TestParamInfo<std::string>& param_info) {
  std::string name = fs::path(param_info.param).filename().string();
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(Cases, Golden, ::testing::ValuesIn(cases_in("golden")), case_name);
INSTANTIATE_TEST_SUITE_P(BadInput, Golden, ::testing::ValuesIn(cases_in("bad")), case_name);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(Golden);

}  // namespace
}  // namespace makenc
