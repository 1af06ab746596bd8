// Whole batch runs on drawings, settings and folders the host or the user
// may get wrong. Each run ends either in an NC program the G-code check
// accepts or in one clear message and exit code 1; whenever it fails, the
// host's "JWC_TEMP.TXT" is exactly as the host wrote it and no program is
// left for the machine.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "app/batch.h"
#include "core/scoped_home.h"
#include "core/temp_folder.h"
#include "core/text.h"

namespace makenc {
namespace {

namespace fs = std::filesystem;
using testing::file_bytes;

void write_file(const fs::path& p, const std::string& bytes) { std::ofstream(p, std::ios::binary) << bytes; }

std::string crlf(const std::vector<std::string>& lines) { return join_crlf(lines); }

std::size_t count_of(const std::string& text, const std::string& word) {
  std::size_t n = 0;
  for (std::size_t i = text.find(word); i != std::string::npos; i = text.find(word, i + 1)) ++n;
  return n;
}

// A plate of 100 x 50 with a hole of radius 10, cut on layer ly0; `extra`
// records go between the plate and the hole.
std::vector<std::string> plate(const std::vector<std::string>& extra = {}, const std::string& name = "part") {
  std::vector<std::string> lines{"hq",         "hk 0",          "file=C:\\jww\\data\\" + name + ".jww",
                                 "#",          "ly0",           "lc2",
                                 " 0 0 100 0", " 100 0 100 50", " 100 50 0 50",
                                 " 0 50 0 0"};
  lines.insert(lines.end(), extra.begin(), extra.end());
  lines.push_back("ci 50 25 10");
  return lines;
}

using testing::ScopedHome;

using Setup = std::function<void(const fs::path& host, const fs::path& home)>;

struct RunResult {
  int exit_code = -1;
  std::string out, err;
  std::string jwc_before, jwc_after;
  std::vector<fs::path> programs;  // every NC program left afterwards
};

// The sample plate's settings and templates, the given interchange file,
// then whatever the case changes; one batch run with the default boxes.
class HostRun {
 public:
  RunResult run(const std::string& jwc, const Setup& setup = {}) {
    const fs::path host = folder_.path() / "host";
    const fs::path home = folder_.path() / "home";
    fs::remove_all(host);
    fs::remove_all(home);
    fs::create_directories(host);
    fs::copy(fs::path(MAKENC_SOURCE_DIR) / "examples/plate/Zemlak", host / "Zemlak",
             fs::copy_options::recursive);
    fs::create_directories(home / "jww" / "Zemlak");
    write_file(host / "JWC_TEMP.TXT", jwc);
    if (setup) setup(host, home);
    RunResult r;
    r.jwc_before = file_bytes(host / "JWC_TEMP.TXT");
    {
      ScopedHome scoped(home);
      auto cl = parse_command_line({"--batch"});
      EXPECT_TRUE(cl.ok());
      std::ostringstream out, err;
      r.exit_code = run_batch(*cl, host, out, err);
      r.out = out.str();
      r.err = err.str();
    }
    r.jwc_after = file_bytes(host / "JWC_TEMP.TXT");
    for (const fs::path& where : {host / "Zemlak", home / "jww" / "Zemlak"}) {
      if (!fs::is_directory(where)) continue;
      for (const auto& entry : fs::directory_iterator(where))
        if (entry.path().extension() == ".nc") r.programs.push_back(entry.path());
    }
    return r;
  }
  fs::path set_ini() const { return folder_.path() / "host" / "Zemlak" / "Bin" / "set.ini"; }

 private:
  testing::TempFolder folder_;
};

std::string shell_quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// The G-code interpreter check the whole-run tests use.
void expect_nc_check_passes(const fs::path& nc, const std::string& options) {
  const fs::path report = nc.string() + ".check";
  const std::string cmd = shell_quote((fs::path(MAKENC_SOURCE_DIR) / "tests/tools/nc-check").string()) + " " +
                          options + " " + shell_quote(nc.string()) + " > " + shell_quote(report.string()) +
                          " 2>&1";
  const int status = std::system(cmd.c_str());
  EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 0) << nc.filename() << ":\n" << file_bytes(report);
  fs::remove(report);
}

// ---------------------------------------------------------------------------
// Runs that must fail: one message naming the file and the line or record.

struct Failing {
  const char* name;
  std::string jwc;
  std::string message;  // part of the one line on standard error
  Setup setup;
};

void PrintTo(const Failing& c, std::ostream* os) { *os << c.name; }

Failing fails(const char* name, std::string jwc, std::string message, Setup setup = {}) {
  return Failing{name, std::move(jwc), std::move(message), std::move(setup)};
}

class FailingRun : public ::testing::TestWithParam<Failing> {};

TEST_P(FailingRun, NamesTheFaultAndLeavesTheHostFileAsItWas) {
  HostRun host;
  const RunResult r = host.run(GetParam().jwc, GetParam().setup);
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err.rfind("makenc: ", 0), 0u) << r.err;
  EXPECT_NE(r.err.find(GetParam().message), std::string::npos) << r.err;
  EXPECT_EQ(count_of(r.err, "\n"), 1u) << r.err;
  EXPECT_LT(r.err.size(), 400u) << "a message the user can read";
  EXPECT_EQ(r.jwc_after, r.jwc_before);
  EXPECT_TRUE(r.programs.empty()) << r.programs.front();
}

std::string long_digits() { return std::string(70000, '7'); }

Setup template_as_folder(const char* file) {
  return [file](const fs::path& host, const fs::path&) {
    fs::remove(host / "Zemlak" / "Bin" / file);
    fs::create_directory(host / "Zemlak" / "Bin" / file);
  };
}

Setup settings(const std::string& set_ini) {
  return
      [set_ini](const fs::path& host, const fs::path&) { write_file(host / "Zemlak/Bin/set.ini", set_ini); };
}

std::string set_ini_with_rounding(const std::string& factor) {
  return crlf({"0.01", "5", factor, "10 50 E1", "50 300 E2", "300 1000 E3", "E9", "2"});
}

// The sample's settings with the tolerance, approach length and joint length
// as typed.
std::string set_ini_of(const std::string& tolerance, const std::string& approach, const std::string& joint) {
  return crlf({tolerance, approach, "1000", "10 50 E1", "50 300 E2", "300 1000 E3", "E9", joint});
}

INSTANTIATE_TEST_SUITE_P(
    BadInput, FailingRun,
    ::testing::Values(
        fails("empty_file", "", "JWC_TEMP.TXT is empty"),
        fails("first_record_not_numeric", crlf({"#", "ly0", " a b 100 0", " 100 0 100 50"}),
              "JWC_TEMP.TXT line 3 \" a b 100 0\": field 1 \"a\" is not a number"),
        fails("line_longer_than_64k", crlf(plate({" 10 10 20 " + long_digits()})),
              "line 11 \" 10 10 20 7777"),
        fails("lone_lead_byte_at_line_end", crlf(plate({" 10 10 20 20\x81"})),
              "byte 0x81 at column 13 is not a character of code page 932"),
        fails("lead_byte_before_a_blank", crlf(plate({" 10\x81 10 20 20"})), "byte 0x81 at column 4"),
        fails("byte_80", crlf(plate({" 10 10 \x80\x32\x30 20"})), "byte 0x80 at column 8"),
        fails("byte_A0", crlf(plate({"pt 1 \xA0"})), "byte 0xA0 at column 6"),
        fails("byte_FD", crlf(plate({"ci 20 20 5\xFD"})), "byte 0xFD at column 11"),
        fails("colour_line_with_a_lone_lead_byte", crlf(plate({"lc2\x9F", " 10 10 20 20"})),
              "line 11 \"lc2?\": byte 0x9F at column 4"),
        fails("number_1e400", crlf(plate({" 10 10 1e400 20"})),
              "the number \"1e400\" is too large to compute with"),
        fails("number_nan", crlf(plate({" 10 nan 20 20"})), "field 2 \"nan\" is not a number"),
        fails("number_inf", crlf(plate({"pt inf 20"})), "field 1 \"inf\" is not a number"),
        fails("number_minus_inf", crlf(plate({"ci 20 20 -inf"})), "field 3 \"-inf\" is not a number"),
        fails(
            "coordinate_1e300", crlf(plate({" 10 10 1e300 20"})),
            "line 11 \" 10 10 1e300 20\": the drawing's right edge taken from this record lies too far out"),
        fails("coordinate_1e308", crlf(plate({"pt 10 -1e308"})),
              "line 11 \"pt 10 -1e308\": the drawing's bottom edge taken from this record lies too far out"),
        fails("negative_radius", crlf(plate({"ci 20 20 -5"})),
              "line 11 \"ci 20 20 -5\": the radius \"-5\" is below 0"),
        fails("arc_of_negative_radius", crlf(plate({"ci 20 20 -5 0 90 1 0"})),
              "the radius \"-5\" is below 0"),
        fails("name_with_a_lone_lead_byte", crlf(plate({}, "part\x81")),
              "the drawing name \"part?\" is not code page 932 text"),
        fails("name_longer_than_a_file_name", crlf(plate({}, long_digits())), "is too long to name a file"),
        fails("head_template_is_a_folder", crlf(plate()), "head.ini: it is a folder, not a file",
              template_as_folder("head.ini")),
        fails("foot_template_is_a_folder", crlf(plate()), "foot.ini: it is a folder, not a file",
              template_as_folder("foot.ini")),
        fails("cut_start_template_is_a_folder", crlf(plate()), "sta_cut.ini: it is a folder, not a file",
              template_as_folder("sta_cut.ini")),
        fails("mark_start_template_is_a_folder", crlf(plate()), "sta_mark.ini: it is a folder, not a file",
              template_as_folder("sta_mark.ini")),
        fails("end_template_is_a_folder", crlf(plate()), "end.ini: it is a folder, not a file",
              template_as_folder("end.ini")),
        fails("output_folder_is_a_file", crlf(plate({}, "")), "jww/Zemlak is a file, not a folder",
              [](const fs::path&, const fs::path& home) {
                fs::remove_all(home / "jww" / "Zemlak");
                write_file(home / "jww" / "Zemlak", "a file the user left here\r\n");
              }),
        // Settings that would cut wrong: refused naming the line, the text as
        // typed and what the line must hold.
        fails("approach_length_0", crlf(plate()),
              "makenc: Zemlak/Bin/set.ini line 2: the approach length \"0\" is not a number above 0\n",
              settings(set_ini_of("0.01", "0", "2"))),
        fails("approach_length_not_a_number", crlf(plate()),
              "Zemlak/Bin/set.ini line 2: the approach length \"abc\" is not a number above 0",
              settings(set_ini_of("0.01", "abc", "2"))),
        fails("approach_length_below_0", crlf(plate()),
              "Zemlak/Bin/set.ini line 2: the approach length \"-5\" is not a number above 0",
              settings(set_ini_of("0.01", "-5", "2"))),
        fails("approach_length_below_two_grid_steps", crlf(plate()),
              "Zemlak/Bin/set.ini line 2: the approach length \"0.0015\" is below 0.002, two steps of the "
              "grid 1/1000",
              settings(set_ini_of("0.01", "0.0015", "2"))),
        fails("approach_length_1e30", crlf(plate()),
              "Zemlak/Bin/set.ini line 2: the approach length \"1e30\" is above 1000000000000",
              settings(set_ini_of("0.01", "1e30", "2"))),
        fails("approach_length_beyond_a_double", crlf(plate()),
              "Zemlak/Bin/set.ini line 2: the approach length \"1e400\" is above 1000000000000",
              settings(set_ini_of("0.01", "1e400", "2"))),
        fails("joint_length_below_0", crlf(plate()),
              "Zemlak/Bin/set.ini line 8: the joint length \"-2\" is not a number of 0 or above",
              settings(set_ini_of("0.01", "5", "-2"))),
        // The plate's outline closes on the 50 from its top left corner to
        // the contact point in the middle of its top side.
        fails("joint_longer_than_the_closing_move", crlf(plate()),
              "the joint length \"60\" of Zemlak/Bin/set.ini line 8 does not fit on the closing move, which "
              "has room for 50",
              settings(set_ini_of("0.01", "5", "60"))),
        fails("tolerance_below_0", crlf(plate()),
              "Zemlak/Bin/set.ini line 1: the matching tolerance \"-0.01\" is not a number of 0 or above",
              settings(set_ini_of("-0.01", "5", "2")))),
    [](const ::testing::TestParamInfo<Failing>& c) { return std::string(c.param.name); });

// ---------------------------------------------------------------------------
// Runs that must succeed: the program passes the G-code check and cuts what
// the drawing shows.

// The program of the plain plate, to hold the other runs against.
std::string plate_program() {
  HostRun host;
  const RunResult r = host.run(crlf(plate()));
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.programs.size(), 1u);
  return r.programs.empty() ? "" : file_bytes(r.programs.front());
}

struct Succeeding {
  const char* name;
  std::string jwc;
  Setup setup;
  bool same_program_as_the_plate;  // else: the check below
  std::function<void(const std::string& nc, const RunResult&)> check;
  std::string nc_check_options;  // besides the file; empty: the run's set.ini
};

void PrintTo(const Succeeding& c, std::ostream* os) { *os << c.name; }

class SucceedingRun : public ::testing::TestWithParam<Succeeding> {};

TEST_P(SucceedingRun, WritesAProgramTheCheckAccepts) {
  const Succeeding& c = GetParam();
  HostRun host;
  const RunResult r = host.run(c.jwc, c.setup);
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_NE(r.out.find("に出力しました。"), std::string::npos) << r.out;
  ASSERT_EQ(r.programs.size(), 1u);
  const std::string nc = file_bytes(r.programs.front());
  if (c.same_program_as_the_plate) {
    EXPECT_EQ(nc, plate_program());
  }
  if (c.check) c.check(nc, r);
  expect_nc_check_passes(r.programs.front(), c.nc_check_options.empty()
                                                 ? "--set-ini " + shell_quote(host.set_ini().string())
                                                 : c.nc_check_options);
}

std::string with_line_ends(const std::vector<std::string>& lines, const std::string& end) {
  std::string out;
  for (const std::string& l : lines) out += l + end;
  return out;
}

std::string mixed_line_ends(const std::vector<std::string>& lines) {
  const char* ends[] = {"\r", "\n", "\r\n"};
  std::string out;
  for (std::size_t i = 0; i < lines.size(); ++i) out += lines[i] + ends[i % 3];
  return out;
}

// 200,000 records on the last layer: the plate's sides and 199,996 lines of
// length 0 in one place, each of which once made every chaining step look at
// all the others.
std::string two_hundred_thousand_records() {
  std::vector<std::string> lines{"hq",
                                 "file=C:\\jww\\data\\part.jww",
                                 "#",
                                 "ly5",
                                 "lc2",
                                 " 0 0 100 0",
                                 " 100 0 100 50",
                                 " 100 50 0 50",
                                 " 0 50 0 0"};
  for (int i = 0; i < 199996; ++i) lines.push_back(" 30 30 30 30");
  return crlf(lines);
}

INSTANTIATE_TEST_SUITE_P(
    BadInput, SucceedingRun,
    ::testing::Values(
        // The host writes CR LF; a lone CR or a bare LF ends a line as well.
        Succeeding{"lone_cr_line_ends", with_line_ends(plate(), "\r"), {}, true, {}, {}},
        Succeeding{"bare_lf_line_ends", with_line_ends(plate(), "\n"), {}, true, {}, {}},
        Succeeding{"mixed_line_ends", mixed_line_ends(plate()), {}, true, {}, {}},
        // A record that cannot be represented is left out: too few fields for
        // its kind, or more than a row holds.
        Succeeding{"line_of_too_few_fields", crlf(plate({" 10 10 20"})), {}, true, {}, {}},
        Succeeding{"circle_of_too_few_fields", crlf(plate({"ci 10 10"})), {}, true, {}, {}},
        Succeeding{"record_of_too_many_fields",
                   crlf(plate({" 10 10 20 20 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17"})),
                   {},
                   true,
                   {},
                   {}},
        // Texts and unknown records are carried, not cut, whatever bytes they hold.
        Succeeding{"text_with_a_bad_second_byte", crlf(plate({"ch 1 1 1 0 \xE0\x3F"})), {}, true, {}, {}},
        Succeeding{"record_of_a_lone_FF", crlf(plate({"\xFF"})), {}, true, {}, {}},
        // "-0" is 0, in the drawing and in the program.
        Succeeding{"minus_zero",
                   crlf({"hq", "hk 0", "file=C:\\jww\\data\\part.jww", "#", "ly0", "lc2", " -0 0 100 -0",
                         " 100 -0 100 50", " 100 50 -0 50", " 0 50 -0 -0", "ci 50 25 10"}),
                   {},
                   true,
                   {},
                   {}},
        // Nothing to cut: a circle of radius 0, a line or an arc of length 0.
        Succeeding{
            "circle_of_radius_0", crlf(plate({"ci 20 20 0", "ci 30 30 0 0 90 1 0"})), {}, true, {}, {}},
        Succeeding{"line_of_length_0", crlf(plate({" 20 20 20 20"})), {}, true, {}, {}},
        Succeeding{"line_of_length_0_in_a_corner", crlf(plate({" 100 50 100 50"})), {}, true, {}, {}},
        Succeeding{"arc_of_zero_sweep",
                   crlf(plate({"ci 20 20 5 30 30 1 0", "ci 20 20 5 400 40 1 0"})),
                   {},
                   true,
                   {},
                   {}},
        Succeeding{"first_record_a_bare_BL",
                   crlf({"hq", "hk 0", "file=C:\\jww\\data\\part.jww", "#", "ly0", "lc2", "BL", " 0 0 100 0",
                         " 100 0 100 50", " 100 50 0 50", " 0 50 0 0", "ci 50 25 10"}),
                   {},
                   true,
                   {},
                   {}},
        Succeeding{"two_hundred_thousand_records_on_one_layer",
                   two_hundred_thousand_records(),
                   {},
                   false,
                   [](const std::string& nc, const RunResult&) {
                     EXPECT_EQ(count_of(nc, "G41"), 1u);  // the plate only
                     // Lead-in, the far end of the side entered, three sides, the
                     // way back to the joint.
                     EXPECT_EQ(count_of(nc, "G01"), 6u);
                   },
                   {}},
        // A header line longer than 64 KiB goes back to the host byte for byte.
        Succeeding{
            "header_line_longer_than_64k",
            crlf({"hq", "hk " + long_digits(), "file=C:\\jww\\data\\part.jww", "#", "ly0", "lc2",
                  " 0 0 100 0", " 100 0 100 50", " 100 50 0 50", " 0 50 0 0", "ci 50 25 10"}),
            {},
            true,
            [](const std::string&, const RunResult& r) {
              EXPECT_EQ(r.jwc_after, crlf({"hk " + long_digits(), "file=C:\\jww\\data\\part.jww", "#"}));
            },
            {}},
        // Without "#" every line is header: the host gets it back without
        // its "hq" line and the program cuts nothing.
        Succeeding{
            "no_hash_line",
            crlf({"hq", "hk 0", "file=C:\\jww\\data\\part.jww", "ly0", " 0 0 100 0"}),
            {},
            false,
            [](const std::string& nc, const RunResult& r) {
              EXPECT_EQ(count_of(nc, "G00"), 0u);
              EXPECT_EQ(count_of(nc, "G41"), 0u);
              EXPECT_EQ(r.jwc_after, crlf({"hk 0", "file=C:\\jww\\data\\part.jww", "ly0", " 0 0 100 0"}));
            },
            {}},
        // A rounding factor that is 0, beyond 16 bits or no number keeps the
        // default of 1000, which the sample's settings also hold.
        Succeeding{"rounding_factor_0", crlf(plate()), settings(set_ini_with_rounding("0")), true, {}, {}},
        Succeeding{
            "rounding_factor_40000", crlf(plate()), settings(set_ini_with_rounding("40000")), true, {}, {}},
        Succeeding{
            "rounding_factor_abc", crlf(plate()), settings(set_ini_with_rounding("abc")), true, {}, {}},
        // Three lines: tolerance, approach and rounding are read, the rest
        // keeps its defaults (the joint of 2 among them).
        Succeeding{"settings_of_three_lines", crlf(plate()), settings(crlf({"0.01", "8", "100"})), false,
                   [](const std::string& nc, const RunResult&) {
                     EXPECT_NE(nc.find("G00X50.Y23.G40"), std::string::npos) << nc;  // 8 above the bottom
                     EXPECT_NE(nc.find("E2"), std::string::npos);
                   },
                   "--joint 2"},
        // Settings kept because they can be cut: a joint of 0 is no joint
        // and every contour closes; a tolerance of 0 chains ends that meet
        // exactly; a length is read by its leading number.
        Succeeding{"joint_length_0",
                   crlf(plate()),
                   settings(set_ini_of("0.01", "5", "0")),
                   false,
                   [](const std::string& nc, const RunResult&) {
                     // The outline closes at its contact point instead of
                     // stopping 2 short of it.
                     std::string closed = plate_program();
                     const std::string joint = "G01X48.Y50.\r\n";
                     ASSERT_NE(closed.find(joint), std::string::npos) << closed;
                     closed.replace(closed.find(joint), joint.size(), "G01X50.Y50.\r\n");
                     EXPECT_EQ(nc, closed);
                   },
                   {}},
        Succeeding{"tolerance_0", crlf(plate()), settings(set_ini_of("0", "5", "2")), true, {}, {}},
        Succeeding{"approach_length_with_a_unit",
                   crlf(plate()),
                   settings(set_ini_of("0.01", "5mm", "2")),
                   true,
                   {},
                   {}},
        // Without a closed contour there is no lead-in to cut.
        Succeeding{"approach_length_not_a_number_without_lead_ins",
                   crlf({"hq", "file=C:\\jww\\data\\part.jww", "#", "ly0", "lc2", " 0 0 100 0"}),
                   settings(set_ini_of("0.01", "abc", "2")),
                   false,
                   [](const std::string& nc, const RunResult&) {
                     EXPECT_EQ(count_of(nc, "G41"), 0u);
                     EXPECT_NE(nc.find("G01X100."), std::string::npos) << nc;
                   },
                   {}}),
    [](const ::testing::TestParamInfo<Succeeding>& c) { return std::string(c.param.name); });

}  // namespace
}  // namespace makenc
