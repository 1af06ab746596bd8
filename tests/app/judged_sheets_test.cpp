// NC programs judged by what the machine would do with them
// (support/nc_judge.h): first a plate's program, right and then wrong in one
// way at a time, so that each kind of fault is seen to be found alone; then
// the programs of whole runs on generated nested sheets and single plates,
// and the expected programs of the whole runs in tests/golden.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/session.h"
#include "assign/placement.h"
#include "core/constants.h"
#include "core/files.h"
#include "core/number_text.h"
#include "core/settings.h"
#include "core/text.h"
#include "geometry/drawing_geometry.h"
#include "import/startup.h"
#include "judge/nc_judge.h"
#include "judge/nc_path.h"
#include "support/files.h"
#include "support/whole_run.h"

namespace makenc {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

const fs::path kSource(MAKENC_SOURCE_DIR);

std::string crlf(const Lines& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// The lines of a program's output.
Lines lines_of_text(const std::string& text) {
  Lines lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Lines written one after the other, each ended by "|".
Lines lines_of(const std::string& text) {
  Lines lines;
  for (std::size_t at = 0, bar; (bar = text.find('|', at)) != std::string::npos; at = bar + 1)
    lines.push_back(text.substr(at, bar - at));
  return lines;
}

// A plate 200 x 120 with a round hole and a square one, and on ly1 a
// marking line and a punch point.
const Lines kPlate = lines_of(
    "hq|file=C:\\jww\\plate.jww|#|ly0|lc2|lt1|"
    " 0 0 200 0| 200 0 200 120| 200 120 0 120| 0 120 0 0|"
    "ci 40 60 10|"
    " 70 40 110 40| 110 40 110 80| 110 80 70 80| 70 80 70 40|"
    "ly1|lc3|lt1| 140 30 180 30|pt 160 90|");

// Its program as it should be: the marks, then the holes entered from
// inside, the outline last from outside, the kerf always on the scrap side.
const Lines kPlateProgram = lines_of(
    "%|O1000|G90 G92 X0 Y0|"
    "G00X140.Y30.G40|M09|E9|G01X180.Y30.|M08|"
    "G00X160.Y90.G40|M09|E9|M08|"
    "G00X40.Y65.G40|M07|E2|G01X40.Y70.G41|G03J-10.|M08|"
    "G00X75.Y60.G40|M07|E2|G01X70.Y60.G41|G01X70.Y40.|G01X110.Y40.|G01X110.Y80.|G01X70.Y80.|G01X70.Y60.|M08|"
    "G00X100.Y125.G40|M07|E3|G01X100.Y120.G41|G01X200.Y120.|G01X200.Y0.|G01X0.Y0.|G01X0.Y120.|G01X100.Y120.|"
    "M08|"
    "M30|%|");

void replace_line(Lines& lines, const std::string& from, const std::string& to) {
  auto it = std::find(lines.begin(), lines.end(), from);
  ASSERT_NE(it, lines.end()) << from;
  *it = to;
}

// The lines of the contour whose rapid is `rapid`, up to the next rapid or
// the footer.
std::pair<std::size_t, std::size_t> block(const Lines& lines, const std::string& rapid) {
  const std::size_t from =
      static_cast<std::size_t>(std::find(lines.begin(), lines.end(), rapid) - lines.begin());
  std::size_t to = from + 1;
  while (to < lines.size() && lines[to].rfind("G00", 0) != 0 && lines[to] != "M30") ++to;
  return {from, to};
}

void move_block_before(Lines& lines, const std::string& rapid, const std::string& before) {
  const auto [from, to] = block(lines, rapid);
  const Lines moved(lines.begin() + static_cast<std::ptrdiff_t>(from),
                    lines.begin() + static_cast<std::ptrdiff_t>(to));
  lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(from),
              lines.begin() + static_cast<std::ptrdiff_t>(to));
  const auto at = std::find(lines.begin(), lines.end(), before);
  lines.insert(at, moved.begin(), moved.end());
}

struct Edit {
  const char* what;
  std::function<void(Lines&)> apply;
  std::optional<FaultKind> fault;  // none: the program is right
};

// The plate's program as it should be and wrong in one way at a time.
std::vector<Edit> plate_edits() {
  return {
      {"as it should be", [](Lines&) {}, std::nullopt},
      {"the round hole pierced in the plate above it",
       [](Lines& p) { replace_line(p, "G00X40.Y65.G40", "G00X40.Y75.G40"); }, FaultKind::lead_in_in_material},
      {"the round hole with G42", [](Lines& p) { replace_line(p, "G01X40.Y70.G41", "G01X40.Y70.G42"); },
       FaultKind::kerf_in_material},
      {"the round hole clockwise", [](Lines& p) { replace_line(p, "G03J-10.", "G02J-10."); },
       FaultKind::kerf_in_material},
      {"the outline with G42", [](Lines& p) { replace_line(p, "G01X100.Y120.G41", "G01X100.Y120.G42"); },
       FaultKind::kerf_in_material},
      {"the square hole without its lead-in",
       [](Lines& p) {
         replace_line(p, "G00X75.Y60.G40", "G00X70.Y60.G40");
         p.erase(std::find(p.begin(), p.end(), "G01X70.Y60.G41"));
       },
       FaultKind::closed_cut_open},
      {"the square hole stopping a side short",
       [](Lines& p) { p.erase(std::find(p.begin(), p.end(), "G01X70.Y60.")); }, FaultKind::closed_cut_open},
      {"the outline before the square hole",
       [](Lines& p) { move_block_before(p, "G00X100.Y125.G40", "G00X75.Y60.G40"); },
       FaultKind::cut_before_enclosed},
      {"the marking line after the outline", [](Lines& p) { move_block_before(p, "G00X140.Y30.G40", "M30"); },
       FaultKind::cut_before_enclosed},
      {"the square hole's lead-in from inside the round one",
       [](Lines& p) { replace_line(p, "G00X75.Y60.G40", "G00X45.Y60.G40"); }, FaultKind::lead_in_crosses},
      {"a side of the square hole slanted", [](Lines& p) { replace_line(p, "G01X110.Y40.", "G01X110.Y45."); },
       FaultKind::off_contour},
      {"the square hole left out",
       [](Lines& p) {
         const auto [from, to] = block(p, "G00X75.Y60.G40");
         p.erase(p.begin() + static_cast<std::ptrdiff_t>(from), p.begin() + static_cast<std::ptrdiff_t>(to));
       },
       FaultKind::not_cut},
  };
}

// The host folder of the plate, with the example's templates and settings.
void write_plate_folder(const test::TempFolder& host) {
  fs::copy(kSource / "examples/plate/Zemlak", host.path("Zemlak"), fs::copy_options::recursive);
  host.write("JWC_TEMP.TXT", crlf(kPlate));
}

TEST(NcJudge, FindsExactlyTheFaultEachEditMakes) {
  const std::vector<Edit> edits = plate_edits();
  test::TempFolder host;
  write_plate_folder(host);
  for (const Edit& edit : edits) {
    SCOPED_TRACE(edit.what);
    Lines program = kPlateProgram;
    edit.apply(program);
    host.write("Zemlak/plate.nc", crlf(program));
    if (!edit.fault)
      test::expect_nc_check_passes(host.path("Zemlak/plate.nc"), host.path("Zemlak/Bin/set.ini"));
    const auto judged = judge_nc_program(host.path(), host.path("Zemlak/plate.nc"), {});
    ASSERT_TRUE(judged.ok()) << judged.error().message;
    EXPECT_EQ(judged->marks, 2u);
    for (FaultKind kind : kFaultKinds)
      EXPECT_EQ(judged->count(kind), kind == edit.fault ? 1u : 0u) << fault_name(kind) << "\n"
                                                                   << judged->report();
  }
}

// What --check-nc prints for each kind, as the shop reads it.
const std::map<FaultKind, std::string> kWording{
    {FaultKind::lead_in_in_material, "the lead-in pierces the part"},
    {FaultKind::kerf_in_material, "the kerf is on the part's side"},
    {FaultKind::closed_cut_open, "cut open"},
    {FaultKind::cut_before_enclosed, "inside it"},
    {FaultKind::lead_in_crosses, "the lead-in crosses"},
    {FaultKind::not_cut, "never cut"},
    {FaultKind::off_contour, "the cut leaves its contour"},
};

// The same programs judged by the built program as a whole run: one line
// for the fault and the summary, exit 1; the right program exits 0; the
// folder is left as it was.
TEST(CheckNc, NamesTheFaultEachEditMakesAndExitsByIt) {
  test::TempFolder host;
  write_plate_folder(host);
  const std::string drawing = test::file_bytes(host.path("JWC_TEMP.TXT"));
  for (const Edit& edit : plate_edits()) {
    SCOPED_TRACE(edit.what);
    Lines program = kPlateProgram;
    edit.apply(program);
    host.write("Zemlak/plate.nc", crlf(program));
    const test::RunResult run = test::run_makenc(host.path(), {"--check-nc", "Zemlak/plate.nc"}, host.path());
    EXPECT_EQ(run.exit_code, edit.fault ? 1 : 0) << run.out << run.err;
    EXPECT_EQ(run.err, "");
    const Lines out = lines_of_text(run.out);
    ASSERT_EQ(out.size(), edit.fault ? 2u : 1u) << run.out;
    EXPECT_EQ(
        out.back().rfind("Zemlak/plate.nc: " + std::string(edit.fault ? "1 fault in " : "0 faults in "), 0),
        0u)
        << out.back();
    EXPECT_NE(out.back().find(" cuts and 2 markings ("), std::string::npos) << out.back();
    for (FaultKind kind : kFaultKinds)
      EXPECT_NE(out.back().find(std::string(fault_name(kind)) + (kind == edit.fault ? " 1" : " 0")),
                std::string::npos)
          << out.back();
    if (edit.fault) {
      // "cut N, contour C on layer L at (x, y): …", or a contour never cut.
      const std::string& line = out.front();
      EXPECT_TRUE(line.rfind("cut ", 0) == 0 || line.rfind("contour ", 0) == 0) << line;
      EXPECT_NE(line.find(" on layer 0 at ("), std::string::npos) << line;
      EXPECT_NE(line.find(kWording.at(*edit.fault)), std::string::npos) << line;
    }
    EXPECT_EQ(test::file_bytes(host.path("JWC_TEMP.TXT")), drawing);
    EXPECT_EQ(test::file_bytes(host.path("Zemlak/plate.nc")), crlf(program));
  }
}

// The cut's place in the message is its place in the program's order.
TEST(CheckNc, NumbersTheCutAsTheOrderDoes) {
  test::TempFolder host;
  write_plate_folder(host);
  Lines program = kPlateProgram;
  replace_line(program, "G01X100.Y120.G41", "G01X100.Y120.G42");  // the outline, the program's fifth contour
  replace_line(program, "G01X40.Y70.G41", "G01X40.Y70.G42");      // the round hole, its third
  host.write("Zemlak/plate.nc", crlf(program));
  const test::RunResult run = test::run_makenc(host.path(), {"--check-nc", "Zemlak/plate.nc"}, host.path());
  EXPECT_EQ(run.exit_code, 1);
  const Lines out = lines_of_text(run.out);
  ASSERT_EQ(out.size(), 3u) << run.out;
  EXPECT_EQ(out[0].rfind("cut 3, contour ", 0), 0u) << out[0];
  EXPECT_NE(out[0].find("at (40.000, 70.000)"), std::string::npos) << out[0];
  EXPECT_EQ(out[1].rfind("cut 5, contour ", 0), 0u) << out[1];
  EXPECT_NE(out[1].find("at (100.000, 120.000)"), std::string::npos) << out[1];
}

// What --check-nc cannot judge: exit 2 with one message naming the file
// and, where there is one, the line; nothing on standard output.
TEST(CheckNc, RefusesWhatItCannotJudge) {
  struct Bad {
    const char* what;
    std::function<void(const test::TempFolder&)> make;
    std::string message;  // a part of the message
  };
  auto program_with = [](std::function<void(Lines&)> edit) {
    return [edit](const test::TempFolder& host) {
      Lines program = kPlateProgram;
      edit(program);
      host.write("Zemlak/plate.nc", crlf(program));
    };
  };
  const std::vector<Bad> bad{
      {"an unknown word", program_with([](Lines& p) { replace_line(p, "G03J-10.", "G03J-10.Z5."); }),
       "Zemlak/plate.nc line 17: column 9: the word \"Z5.\" is no word of an NC program"},
      {"a letter without a number", program_with([](Lines& p) { replace_line(p, "G03J-10.", "G03J-10.Q"); }),
       "line 17: column 9: \"Q\" is no word: the letter has no number"},
      {"an unknown G code", program_with([](Lines& p) { replace_line(p, "G03J-10.", "G07J-10."); }),
       "line 17: column 1: the word \"G07\" is no G code"},
      {"incremental coordinates",
       program_with([](Lines& p) { replace_line(p, "G90 G92 X0 Y0", "G91 G92 X0 Y0"); }),
       "line 3: column 1: incremental coordinates (G91)"},
      {"a missing end code",
       program_with([](Lines& p) { p.erase(std::find(p.begin() + 20, p.end(), "M08")); }),
       "line 28: the contour begun on line 19 has no end code (\"M08\") before this rapid move"},
      {"the last end code missing",
       program_with([](Lines& p) { p.erase(std::find(p.rbegin(), p.rend(), "M08").base() - 1); }),
       "has no end code (\"M08\") before the program ends"},
      {"arcs whose radii disagree",
       program_with([](Lines& p) { replace_line(p, "G03J-10.", "G03X40.Y60.J-10."); }),
       "line 17: the arc's radius is 10.000 at its start but 0.000 at its end"},
      {"an arc without a radius", program_with([](Lines& p) { replace_line(p, "G03J-10.", "G03I0J0"); }),
       "line 17: the arc has no radius"},
      {"a coordinate far beyond the drawing",
       program_with([](Lines& p) { replace_line(p, "G01X110.Y80.", "G01X110.Y80000."); }),
       "lies far beyond the drawing"},
      {"a number beyond a double", program_with([](Lines& p) {
         replace_line(p, "G01X110.Y80.", "G01X110.Y1" + std::string(400, '0') + ".");
       }),
       "(110.000, beyond any number) lies far beyond the drawing"},
      {"a comment not closed",
       program_with([](Lines& p) { replace_line(p, "G03J-10.", "G03J-10.(the hole"); }),
       "line 17: column 9: the comment is not closed"},
      {"an empty file", [](const test::TempFolder& host) { host.write("Zemlak/plate.nc", ""); },
       "Zemlak/plate.nc is empty"},
      {"a binary file",
       [](const test::TempFolder& host) {
         host.write("Zemlak/plate.nc", "%\r\nO1000\r\nG00X1" + std::string(1, '\0') + "Y2\r\n");
       },
       "Zemlak/plate.nc line 3: byte 0x00 at column 6 is no character of a text file"},
      {"a file of 1 GB",
       [](const test::TempFolder& host) {
         host.write("Zemlak/plate.nc", "%\r\n");
         fs::resize_file(host.path("Zemlak/plate.nc"), std::uintmax_t{1} << 30);
       },
       "Zemlak/plate.nc holds 1024 MB, more than an NC program can (256 MB): it is not read"},
      {"a folder", [](const test::TempFolder& host) { fs::create_directory(host.path("Zemlak/plate.nc")); },
       "Zemlak/plate.nc is a folder"},
      {"no such file", [](const test::TempFolder&) {}, "cannot read the NC program Zemlak/plate.nc"},
      {"a program without a cut", program_with([](Lines& p) {
         p = {"%", "O1000", "G90 G92 X0 Y0", "M30", "%"};
       }),
       "the program holds no cut"},
      {"a program for another drawing", program_with([](Lines& p) {
         for (std::string& line : p)
           if (line.rfind("G0", 0) == 0 && line.find('X') != std::string::npos)
             line.replace(line.find('X'), 1, "X1");
       }),
       "cuts meet no contour of the drawing: it is a program for another drawing"},
      {"a drawing without a closed contour",
       [](const test::TempFolder& host) {
         host.write("JWC_TEMP.TXT", crlf(lines_of("hq|file=C:\\jww\\plate.jww|#|ly0|lc2|lt1| 0 0 200 0|")));
         host.write("Zemlak/plate.nc", crlf(kPlateProgram));
       },
       "the drawing holds no closed contour"},
  };
  for (const Bad& b : bad) {
    SCOPED_TRACE(b.what);
    test::TempFolder host;
    write_plate_folder(host);
    b.make(host);
    const test::RunResult run = test::run_makenc(host.path(), {"--check-nc", "Zemlak/plate.nc"}, host.path());
    EXPECT_EQ(run.exit_code, 2) << run.out << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind("makenc: ", 0), 0u) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_NE(run.err.find(b.message), std::string::npos) << run.err;
  }
}

// One whole run to judge: a generated sheet or plate run by the built
// program, or a case of tests/golden and its expected program.
struct JudgedRun {
  std::string name;
  Lines generator;  // the script below the source folder and its arguments
  Lines args;       // the program's command line
  // The shop's options written beside set.ini before the run, if any.
  std::string option_ini = {};
};

void PrintTo(const JudgedRun& run, std::ostream* out) { *out << run.name; }

// Writes the host folder with the generator: its script below the source
// folder and its arguments.
bool generate(const Lines& generator, const fs::path& folder) {
  std::string command = "python3 " + test::shell_quote((kSource / generator[0]).string());
  for (std::size_t k = 1; k < generator.size(); ++k) command += " " + test::shell_quote(generator[k]);
  command += " --out " + test::shell_quote(folder.string()) + " > " +
             test::shell_quote((folder.parent_path() / "generated").string());
  const bool done = std::system(command.c_str()) == 0;
  EXPECT_TRUE(done) << command;
  return done;
}

JudgedRun sheet(const std::string& name, const std::string& seed, const std::string& width,
                const std::string& height, const std::string& approach) {
  return {name,
          {"bench/tools/make_sheet.py", "--shapes", "mixed", "--parts", "400", "--seed", seed, "--width",
           width, "--height", height, "--approach", approach},
          {"--batch", "--nested", "--no-outline"}};
}

JudgedRun plate(const std::string& name, const std::string& width, const std::string& height,
                const std::string& holes, const std::string& approach) {
  return {
      name,
      {"bench/make_plate.py", "--width", width, "--height", height, "--holes", holes, "--approach", approach},
      {"--batch"}};
}

std::vector<JudgedRun> judged_runs() {
  std::vector<JudgedRun> runs{
      sheet("sheet_1000x500_a5", "1", "1000", "500", "5"),
      sheet("sheet_1000x500_a10", "2", "1000", "500", "10"),
      sheet("sheet_1500x750_a7", "3", "1500", "750", "7"),
      sheet("sheet_2000x1000_a3", "4", "2000", "1000", "3"),
      sheet("sheet_2000x1000_a10", "5", "2000", "1000", "10"),
      sheet("sheet_3000x1500_a3", "6", "3000", "1500", "3"),
      sheet("sheet_3000x1500_a8", "7", "3000", "1500", "8"),
      plate("plate_1000x500_a5", "1000", "500", "60", "5"),
      plate("plate_2000x1000_a10", "2000", "1000", "120", "10"),
      plate("plate_3000x1500_a3", "3000", "1500", "300", "3"),
  };
  // Arc lead-ins and an overcut: every arc that fits in scrap is cut, the
  // rest keep the straight lead-in.
  const std::vector<JudgedRun> shop_options{
      sheet("arc_sheet_1000x500_a5", "11", "1000", "500", "5"),
      sheet("arc_sheet_2000x1000_a3", "12", "2000", "1000", "3"),
      sheet("arc_sheet_1500x750_a10", "13", "1500", "750", "10"),
      plate("arc_plate_1000x500_a5", "1000", "500", "60", "5"),
      plate("arc_plate_2000x1000_a10", "2000", "1000", "120", "10"),
  };
  for (JudgedRun run : shop_options) {
    run.option_ini = "lead_in=arc\r\novercut=2\r\n";
    runs.push_back(std::move(run));
  }
  std::vector<JudgedRun> golden;
  for (const auto& entry : fs::directory_iterator(kSource / "tests/golden")) {
    if (!fs::exists(entry.path() / "expected/files")) continue;
    bool writes_program = false;
    for (const auto& file : fs::recursive_directory_iterator(entry.path() / "expected/files"))
      writes_program = writes_program || file.path().extension() == ".nc";
    std::istringstream args(test::file_bytes(entry.path() / "args"));
    Lines words;
    for (std::string word; args >> word;) words.push_back(word);
    // The runs that make a program; --check-nc judges one given. A program
    // the operator edited is the operator's choice: what the judge names in
    // it is the run's expected standard error.
    const bool edited = std::find(words.begin(), words.end(), "--edits") != words.end();
    if (writes_program && !edited && !words.empty() && words.front() == "--batch")
      golden.push_back({"golden_" + entry.path().filename().string(), {}, words});
  }
  std::sort(golden.begin(), golden.end(),
            [](const JudgedRun& a, const JudgedRun& b) { return a.name < b.name; });
  runs.insert(runs.end(), golden.begin(), golden.end());
  return runs;
}

// A case's program, the host folder it was made in, and the options to
// judge it with against the drawing as the host wrote it.
struct RunProgram {
  fs::path folder, program;
  JudgeOptions options;
};

// Runs the case (a generated one through the G-code check).
std::optional<RunProgram> run_case(const JudgedRun& run, const test::TempFolder& scratch_) {
  RunProgram made{{}, {}, judge_options_of(run.args)};
  fs::path& folder = made.folder;
  fs::path& program = made.program;
  if (run.generator.empty()) {
    folder = kSource / "tests/golden" / run.name.substr(std::string("golden_").size()) / "input";
    for (const auto& file : fs::recursive_directory_iterator(folder.parent_path() / "expected/files"))
      if (file.path().extension() == ".nc") program = file.path();
  } else {
    folder = scratch_.path("host");
    if (!generate(run.generator, folder)) return std::nullopt;
    if (!run.option_ini.empty()) test::write_file(folder / "Zemlak/Bin/option.ini", run.option_ini);
    made.options.drawing_file = scratch_.path("drawing.txt");
    fs::copy_file(folder / "JWC_TEMP.TXT", made.options.drawing_file);
    fs::create_directories(scratch_.path("home/jww/Zemlak"));
    const test::RunResult result = test::run_makenc(folder, run.args, scratch_.path("home"));
    EXPECT_EQ(result.exit_code, 0) << result.err;
    const std::vector<fs::path> programs = test::nc_programs_in(folder / "Zemlak");
    if (programs.size() != 1) {
      ADD_FAILURE() << programs.size() << " programs written";
      return std::nullopt;
    }
    program = programs[0];
    test::expect_nc_check_passes(program, folder / "Zemlak/Bin/set.ini");
  }
  return made;
}

std::optional<Judgement> judge_made(const RunProgram& made, const fs::path& program) {
  auto judged = judge_nc_program(made.folder, program, made.options);
  if (!judged.ok()) {
    ADD_FAILURE() << judged.error().message;
    return std::nullopt;
  }
  return *judged;
}

// Runs the case and judges its program.
std::optional<Judgement> judge_run(const JudgedRun& run, const test::TempFolder& scratch_) {
  const std::optional<RunProgram> made = run_case(run, scratch_);
  if (!made) return std::nullopt;
  return judge_made(*made, made->program);
}

class Judged : public ::testing::TestWithParam<JudgedRun> {
 protected:
  std::optional<Judgement> judge() { return judge_run(GetParam(), scratch_); }

  test::TempFolder scratch_;
};

// The program as the machine should get it: the G-code check accepts it,
// every cut lies on a contour of the drawing, and no cut spoils a part.
TEST_P(Judged, EveryCutIsRight) {
  const auto judged = judge();
  ASSERT_TRUE(judged);
  if (!GetParam().generator.empty()) {
    EXPECT_GT(judged->cuts, 0u);
  }
  // A sheet of parts run without every part material: the map makes only
  // the skeleton material, so its parts are cut as the skeleton's holes.
  // What lies inside what is the drawing's, but the sides are the run's.
  const bool one_plate_of_parts = GetParam().name == "golden_sheet6_s3";
  for (FaultKind kind : kFaultKinds) {
    if (one_plate_of_parts && (kind == FaultKind::lead_in_in_material || kind == FaultKind::kerf_in_material))
      continue;
    EXPECT_EQ(judged->count(kind), 0u) << fault_name(kind) << "\n" << judged->report();
  }
}

std::string run_name(const ::testing::TestParamInfo<JudgedRun>& param_info) {
  std::string name = param_info.param.name;
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(Runs, Judged, ::testing::ValuesIn(judged_runs()), run_name);

// Every third contour of a judged sheet entered on another of its elements,
// a third of the way along it: the lead-ins are placed there by the rules
// of the run, and the judge finds no fault in the edited program.
class JudgedEntries : public ::testing::TestWithParam<JudgedRun> {};

// The point a third of the way along the element of the layer table row.
std::optional<std::array<double, 2>> third_of_the_way(const Table& W, std::size_t r) {
  const double x1 = W.at(r, col::x1).number(), y1 = W.at(r, col::y1).number();
  if (W.at(r, col::kind) == "li")
    return std::array<double, 2>{x1 + (W.at(r, col::x2).number() - x1) / 3,
                                 y1 + (W.at(r, col::y2).number() - y1) / 3};
  const double cx = W.at(r, col::cx).number(), cy = W.at(r, col::cy).number(),
               rr = W.at(r, col::radius).number();
  double from = 0, sweep = 360;
  if (W.at(r, col::kind) == "cci") {
    from = W.at(r, col::start_angle).number();
    sweep = std::fmod(W.at(r, col::end_angle).number() - from + 720, 360.0);
  } else if (!(W.at(r, col::kind) == "ci")) {
    return std::nullopt;
  }
  const double a = (from + sweep / 3) * kPi / 180;
  return std::array<double, 2>{cx + rr * std::cos(a), cy + rr * std::sin(a)};
}

TEST_P(JudgedEntries, EntriesMovedToAnotherElementGiveNoFault) {
  test::TempFolder scratch;
  const fs::path folder = scratch.path("host");
  ASSERT_TRUE(generate(GetParam().generator, folder));
  auto opened = open_session(folder);
  ASSERT_TRUE(opened.ok()) << opened.error().message;
  Session& session = *opened;
  redraw(session, kBatchPreviewWidth, kBatchPreviewHeight);
  session.every_part_material = judge_options_of(GetParam().args).edge;
  session.options.skip_outline = session.every_part_material;
  run_assignment(session);
  const Assignment& a = session.assignment;
  std::string edits;
  std::size_t moved = 0;
  for (std::size_t p = 0; p < a.Ord_apr_row.size(); p += 3) {
    const std::size_t k = a.Ord_apr_row[p];
    const ContourSpan& span = a.Apr_span[k];
    if (!(a.Apr_dat.at(k, rec::kind) == "loop") && !(a.Apr_dat.at(k, rec::kind) == "circle")) continue;
    const Table& W = session.start.drawing.layer(span.layer);
    const auto count = span.end - span.first;
    const auto entered = static_cast<std::size_t>(a.Apr_dat.at(k, rec::element).number());
    const std::size_t other = span.first + entered % count;  // the element after the one entered
    const auto point = third_of_the_way(W, other);
    if (!point) continue;
    edits += "entry " + double_text((*point)[0]) + "," + double_text((*point)[1]) + "\r\n";
    ++moved;
  }
  ASSERT_GT(moved, 10u);
  test::write_file(folder / "edits.txt", edits);
  Lines args = GetParam().args;
  args.insert(args.end(), {"--edits", "edits.txt"});
  JudgeOptions options = judge_options_of(GetParam().args);
  options.drawing_file = scratch.path("drawing.txt");
  fs::copy_file(folder / "JWC_TEMP.TXT", options.drawing_file);
  fs::create_directories(scratch.path("home/jww/Zemlak"));
  const test::RunResult result = test::run_makenc(folder, args, scratch.path("home"));
  ASSERT_EQ(result.exit_code, 0) << result.err;
  const std::vector<fs::path> programs = test::nc_programs_in(folder / "Zemlak");
  ASSERT_EQ(programs.size(), 1u);
  auto judged = judge_nc_program(folder, programs[0], options);
  ASSERT_TRUE(judged.ok()) << judged.error().message;
  EXPECT_TRUE(judged->faults.empty()) << judged->report();
}

INSTANTIATE_TEST_SUITE_P(Runs, JudgedEntries,
                         ::testing::Values(sheet("sheet_1000x500_a5", "1", "1000", "500", "5"),
                                           sheet("sheet_2000x1000_a10", "5", "2000", "1000", "10"),
                                           plate("plate_1000x500_a5", "1000", "500", "60", "5")),
                         run_name);

// The closed cutting contours around a contour, the sheet's edge not
// counted.
std::vector<std::size_t> enclosing(const DrawingGeometry& g, std::size_t k) {
  const Contour& x = g.contours()[k];
  const Xy p = g.pieces()[x.pieces.front()].at(0.5);
  std::vector<std::size_t> around;
  for (std::size_t c = 0; c < g.contours().size(); ++c) {
    const Contour& o = g.contours()[c];
    if (c == k || !o.cutting || !o.closed || o.outline) continue;
    if (o.min_x <= x.min_x && o.max_x >= x.max_x && o.min_y <= x.min_y && o.max_y >= x.max_y &&
        g.encloses(c, p))
      around.push_back(c);
  }
  return around;
}

// Crossings of the ray from p to +x with a piece, worked out plainly.
int crossings(const Piece& p, Xy from) {
  if (p.kind == Piece::Kind::point) return 0;
  if (p.kind == Piece::Kind::line) {
    if ((p.a.y > from.y) == (p.b.y > from.y)) return 0;
    return p.a.x + (from.y - p.a.y) * (p.b.x - p.a.x) / (p.b.y - p.a.y) > from.x ? 1 : 0;
  }
  const double dy = from.y - p.centre.y;
  if (std::fabs(dy) >= p.r) return 0;
  const double half = std::sqrt(p.r * p.r - dy * dy);
  int n = 0;
  for (double x : {p.centre.x - half, p.centre.x + half}) {
    if (x <= from.x) continue;
    double d = std::fmod(std::atan2(dy, x - p.centre.x) - p.start, 2 * kPi);
    if (d < 0) d += 2 * kPi;
    n += p.kind == Piece::Kind::circle || d <= p.sweep;
  }
  return n;
}

// Whether a contour encloses a point is the parity of the crossings of all
// its pieces with the ray, however many pieces it has.
TEST(MixedSheet, EachContourEnclosesAsAllItsPiecesSay) {
  test::TempFolder scratch;
  const fs::path host = scratch.path("host");
  ASSERT_TRUE(generate(sheet("", "6", "3000", "1500", "3").generator, host));
  Settings settings;
  auto start = read_drawing(*read_text_lines(host / "JWC_TEMP.TXT"), settings);
  ASSERT_TRUE(start.ok()) << start.error().message;
  const DrawingGeometry g(start->drawing, LayerTicks{true, true, true, true, true, true}, 0.011);
  std::size_t long_contours = 0, inside = 0, outside = 0;
  for (std::size_t k = 0; k < g.contours().size(); ++k) {
    const Contour& c = g.contours()[k];
    if (!c.closed || c.pieces.size() < 8) continue;
    ++long_contours;
    for (int i = -1; i <= 17; ++i)
      for (int j = -1; j <= 17; ++j) {
        const Xy p{c.min_x + (c.max_x - c.min_x) * (i + 0.37) / 16,
                   c.min_y + (c.max_y - c.min_y) * (j + 0.41) / 16};
        int n = 0;
        for (std::size_t piece : c.pieces) n += crossings(g.pieces()[piece], {p.x, p.y + 1.2345678901e-7});
        EXPECT_EQ(g.encloses(k, p), n % 2 == 1) << "contour " << c.id << " at " << p.x << ", " << p.y;
        (n % 2 == 1 ? inside : outside) += 1;
      }
  }
  EXPECT_GT(long_contours, 0u);
  EXPECT_GT(inside, 0u);
  EXPECT_GT(outside, 0u);
}

// A mixed sheet holds every shape it is made to hold, found in its drawing
// by geometry.
TEST(MixedSheet, HoldsEveryShapeItIsMadeOf) {
  test::TempFolder scratch;
  const fs::path host = scratch.path("host");
  ASSERT_TRUE(generate(sheet("", "6", "3000", "1500", "3").generator, host));
  Settings settings;
  auto start = read_drawing(*read_text_lines(host / "JWC_TEMP.TXT"), settings);
  ASSERT_TRUE(start.ok()) << start.error().message;
  const DrawingGeometry g(start->drawing, LayerTicks{true, true, true, true, true, true}, 0.011);
  using Kind = Piece::Kind;
  std::map<std::string, int> found;
  for (std::size_t k = 0; k < g.contours().size(); ++k) {
    const Contour& c = g.contours()[k];
    if (!c.cutting || !c.closed || c.outline) continue;
    const std::vector<std::size_t> around = enclosing(g, k);
    int lines = 0, half_turns = 0;
    for (std::size_t i : c.pieces) {
      const Piece& p = g.pieces()[i];
      lines += p.kind == Kind::line && !p.bridge;
      half_turns += p.kind == Kind::arc && std::fabs(p.sweep - kPi) < 1e-6;
      // Where a line's typed end and an arc's computed end fall to either
      // side of the grid, chaining bridges them.
      if (p.bridge && (std::lround(p.a.x * 1000) != std::lround(p.b.x * 1000) ||
                       std::lround(p.a.y * 1000) != std::lround(p.b.y * 1000)))
        ++found["corners on a rounding tie"];
      if (p.kind != Kind::line || p.length() < 10) continue;
      const double turn = std::fmod(std::atan2(p.b.y - p.a.y, p.b.x - p.a.x) * 180 / kPi + 360, 90.0);
      if (turn > 0.005 && turn < 0.02) ++found["turned a hair off the axes"];
      if (turn > 1 && turn < 10) ++found["turned a few degrees"];
    }
    const Piece& first = g.pieces()[c.pieces.front()];
    if (around.empty() && first.kind == Kind::circle) ++found["discs"];
    if (around.empty() && half_turns == 2) ++found["obrounds"];
    if (around.empty() && lines == 6) ++found["L shapes"];
    if (around.size() == 2) ++found["parts in a frame's hole"];
    if (around.size() != 1 || first.kind != Kind::circle) continue;
    double edge = 1e9;
    for (std::size_t i : g.contours()[around[0]].pieces)
      edge = std::min(edge, g.pieces()[i].distance_to(first.centre));
    if (edge - first.r > 2.99 && edge - first.r < 4.01) ++found["holes 3 to 4 from the edge"];
  }
  for (const char* what :
       {"corners on a rounding tie", "turned a hair off the axes", "turned a few degrees", "discs",
        "obrounds", "L shapes", "parts in a frame's hole", "holes 3 to 4 from the edge"})
    EXPECT_GT(found[what], 0) << what;
}

// The hard drawings of bench/tools/make_hard_sheet.py: a class of shapes
// (or a plate) at an approach length, run with the given options.
struct HardRow {
  std::string shapes, flags, approach;
};

// Every class on its own at a short and a long approach length, with every
// part material, the sheet's edge cut or not, with and without joints; the
// plates of holes alone as they are run, those with discs standing in bores
// with every part material.
std::vector<HardRow> hard_rows(const std::vector<std::string>& classes) {
  std::vector<HardRow> rows;
  for (const std::string& shapes : classes)
    for (const char* approach : {"3", "10"})
      for (const char* flags : {"--nested --no-outline", "--nested", "--nested --no-joints"})
        rows.push_back({shapes, flags, approach});
  return rows;
}

const std::vector<HardRow> kHardRows = [] {
  std::vector<HardRow> rows = hard_rows(
      {"polyline", "washers", "edge_holes", "slots", "small", "frames", "doubled", "shared_edges", "all"});
  std::erase_if(rows, [](const HardRow& r) {
    return r.shapes == "edge_holes" && r.flags == "--nested" && r.approach == "3";
  });
  for (const char* approach : {"3", "10"}) {
    rows.push_back({"plate_holes", "", approach});
    rows.push_back({"plate", "--nested", approach});
  }
  return rows;
}();

// Rows whose programs the G-code check refuses: a round hole of a part that
// stands in the skeleton (every part material, the sheet's edge counted) is
// a part of its own and keeps a joint; on a circle hardly larger than the
// joint, the joint measured across from its lowest point leaves a gap
// longer than the joint.
const std::vector<HardRow> kHardRowsJointGapTooLong{{"edge_holes", "--nested", "3"}};

struct HardRun {
  JudgedRun run;
  std::string skip;  // why the row does not run yet
};

void PrintTo(const HardRun& hard, std::ostream* out) { *out << hard.run.name; }

Lines hard_generator(const std::string& shapes, const std::string& approach) {
  if (shapes == "plate_holes")
    return {"bench/tools/make_hard_sheet.py",
            "--class",
            "plate",
            "--holes-only",
            "--width",
            "800",
            "--height",
            "500",
            "--parts",
            "12",
            "--approach",
            approach};
  return {"bench/tools/make_hard_sheet.py",
          "--class",
          shapes,
          "--width",
          "800",
          "--height",
          "500",
          "--parts",
          "12",
          "--approach",
          approach};
}

std::vector<HardRun> hard_runs() {
  std::vector<HardRun> runs;
  const std::vector<std::pair<const std::vector<HardRow>*, std::string>> lists{
      {&kHardRows, ""}, {&kHardRowsJointGapTooLong, "joint gap on a small hole longer than the joint"}};
  for (const auto& [rows, skip] : lists)
    for (const HardRow& row : *rows) {
      HardRun hard{{row.shapes + "_a" + row.approach, hard_generator(row.shapes, row.approach), {"--batch"}},
                   skip};
      std::istringstream flags(row.flags);
      for (std::string flag; flags >> flag;) {
        hard.run.args.push_back(flag);
        hard.run.name += "_" + flag.substr(2);
      }
      runs.push_back(hard);
    }
  return runs;
}

class HardJudged : public ::testing::TestWithParam<HardRun> {
 protected:
  test::TempFolder scratch_;
};

TEST_P(HardJudged, EveryCutIsRight) {
  if (!GetParam().skip.empty()) GTEST_SKIP() << GetParam().skip;
  const auto judged = judge_run(GetParam().run, scratch_);
  ASSERT_TRUE(judged);
  EXPECT_GT(judged->cuts, 0u);
  for (FaultKind kind : kFaultKinds)
    EXPECT_EQ(judged->count(kind), 0u) << fault_name(kind) << "\n" << judged->report();
}

std::string hard_run_name(const ::testing::TestParamInfo<HardRun>& param_info) {
  std::string name = param_info.param.run.name;
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(Rows, HardJudged, ::testing::ValuesIn(hard_runs()), hard_run_name);

// The hard sheets at approach 10, nested, and the plate with holes.
std::vector<HardRun> turned_runs() {
  std::vector<HardRun> runs;
  for (const HardRun& hard : hard_runs()) {
    const std::string& name = hard.run.name;
    const std::string nested = "_a10_nested";
    const bool row =
        name.size() > nested.size() && name.compare(name.size() - nested.size(), nested.size(), nested) == 0;
    if (hard.skip.empty() && (row || name == "plate_holes_a10")) runs.push_back(hard);
  }
  return runs;
}

// The program's lines and its cuts as the judge reads them.
struct ProgramCuts {
  Lines lines;
  std::vector<NcCut> cuts;
};

std::optional<ProgramCuts> program_cuts(const RunProgram& made) {
  auto text = read_nc_text(made.program);
  Settings settings;
  if (!text || !read_set_ini(host_path(made.folder, "Zemlak\\Bin\\set.ini"), settings)) return std::nullopt;
  auto codes = read_start_codes(made.folder, settings);
  if (!codes) return std::nullopt;
  ProgramCuts program{text_lines(*text), {}};
  auto cuts = read_nc_cuts(program.lines, *codes);
  if (!cuts) return std::nullopt;
  program.cuts = std::move(*cuts);
  return program;
}

// Every other cut, from `first` on, turned round: its compensation the
// other way and, when asked, its pierce mirrored through its contact point.
// How many were.
std::size_t turn_round(ProgramCuts& program, std::size_t first, bool mirror_pierce) {
  std::size_t turned = 0;
  for (std::size_t k = first; k < program.cuts.size(); k += 2) {
    const NcCut& cut = program.cuts[k];
    if (cut.marking || !cut.lead_in) continue;
    if (mirror_pierce) {
      const Xy pierce{2 * cut.contact.x - cut.start.x, 2 * cut.contact.y - cut.start.y};
      program.lines[cut.line - 1] = "G00X" + fixed_text(pierce.x, 4) + "Y" + fixed_text(pierce.y, 4) + "G40";
    }
    std::string& lead_in = program.lines[cut.lead[0].line - 1];
    lead_in.replace(lead_in.find(cut.lead_comp == 41 ? "G41" : "G42"), 3,
                    cut.lead_comp == 41 ? "G42" : "G41");
    ++turned;
  }
  return turned;
}

class TurnedRound : public ::testing::TestWithParam<HardRun> {
 protected:
  test::TempFolder scratch_;
};

// Every other cut of a right program turned round as a careless hand edit
// would: the pierce mirrored through the contact point, the compensation
// the other way. What one look along a contour standing alone tells of its
// sides names the same faults as asking the whole drawing at every sample.
TEST_P(TurnedRound, SidesNameWhatEverySampleNames) {
  const std::optional<RunProgram> made = run_case(GetParam().run, scratch_);
  ASSERT_TRUE(made);
  std::optional<ProgramCuts> program = program_cuts(*made);
  ASSERT_TRUE(program);
  const std::size_t turned = turn_round(*program, 0, true);
  ASSERT_GT(turned, 0u);
  const fs::path edited = scratch_.path("turned.nc");
  test::write_file(edited, crlf(program->lines));
  RunProgram sampled = *made;
  sampled.options.every_sample = true;
  const std::optional<Judgement> told = judge_made(*made, edited), asked = judge_made(sampled, edited);
  ASSERT_TRUE(told && asked);
  EXPECT_GT(asked->count(FaultKind::kerf_in_material), 0u);
  EXPECT_GT(asked->count(FaultKind::lead_in_in_material), 0u);
  EXPECT_EQ(told->report(), asked->report());
}

INSTANTIATE_TEST_SUITE_P(Rows, TurnedRound, ::testing::ValuesIn(turned_runs()), hard_run_name);

// A sheet of thousands of cuts, every other one turned round, judged by two
// threads: the faults of both halves come out as one thread names them.
TEST(TurnedRound, TwoThreadsNameWhatOneNames) {
  test::TempFolder scratch;
  const JudgedRun run{
      "sheet_550", {"bench/tools/make_sheet.py", "--parts", "550"}, {"--batch", "--nested", "--no-outline"}};
  const std::optional<RunProgram> made = run_case(run, scratch);
  ASSERT_TRUE(made);
  std::optional<ProgramCuts> program = program_cuts(*made);
  ASSERT_TRUE(program);
  ASSERT_GT(program->cuts.size(), 2000u);
  turn_round(*program, 1, false);
  const fs::path edited = scratch.path("turned.nc");
  test::write_file(edited, crlf(program->lines));
  RunProgram one = *made, two = *made;
  one.options.threads = 1;
  two.options.threads = 2;
  const std::optional<Judgement> by_one = judge_made(one, edited), by_two = judge_made(two, edited);
  ASSERT_TRUE(by_one && by_two);
  EXPECT_GT(by_two->count(FaultKind::kerf_in_material), 1000u);
  EXPECT_EQ(by_one->report(), by_two->report());
}

// A line record's ends, the lower end first.
std::optional<std::array<double, 4>> line_record(const std::string& line) {
  if (line.empty() || line[0] != ' ') return std::nullopt;
  std::istringstream in(line);
  std::array<double, 4> v{};
  if (!(in >> v[0] >> v[1] >> v[2] >> v[3])) return std::nullopt;
  if (std::make_pair(v[2], v[3]) < std::make_pair(v[0], v[1])) v = {v[2], v[3], v[0], v[1]};
  return v;
}

// What each class of hard drawing is made to hold.
const std::map<std::string, std::vector<const char*>> kDrawn{
    {"polyline", {"polyline outlines with gaps"}},
    {"washers", {"circles 0.3 to 0.9 L inside a bore"}},
    {"edge_holes", {"holes 0.3 L from the edge"}},
    {"slots", {"slots narrower than 2 L"}},
    {"small", {"parts smaller than 2 L"}},
    {"frames", {"parts in frames 5 deep"}},
    {"doubled", {"records written twice"}},
    {"shared_edges", {"sides drawn once per part"}},
    {"plate",
     {"polyline outlines with gaps", "circles 0.3 to 0.9 L inside a bore", "holes 0.3 L from the edge",
      "slots narrower than 2 L"}},
};

// Each class of hard drawing holds what it is made to hold, found in its
// drawing by geometry (or, for records written twice, in its text).
TEST(HardSheet, EachClassDrawsWhatItIsFor) {
  const double approach = 5, tol = 0.01;
  for (const auto& [shapes, drawn] : kDrawn) {
    SCOPED_TRACE(shapes);
    test::TempFolder scratch;
    const fs::path host = scratch.path("host");
    ASSERT_TRUE(generate(hard_generator(shapes, "5"), host));
    const auto text = read_text_lines(host / "JWC_TEMP.TXT");
    ASSERT_TRUE(text.has_value());
    Settings settings;
    auto start = read_drawing(*text, settings);
    ASSERT_TRUE(start.ok()) << start.error().message;
    const DrawingGeometry g(start->drawing, LayerTicks{true, true, true, true, true, true}, 0.011);
    using Kind = Piece::Kind;
    std::map<std::string, int> found;
    std::size_t outline = g.contours().size();
    for (std::size_t k = 0; k < g.contours().size(); ++k)
      if (g.contours()[k].outline) outline = k;
    for (std::size_t k = 0; k < g.contours().size(); ++k) {
      const Contour& c = g.contours()[k];
      ASSERT_TRUE(c.closed) << "contour " << c.id << " is open";
      if (c.outline) continue;
      const std::vector<std::size_t> around = enclosing(g, k);
      const Piece& first = g.pieces()[c.pieces.front()];
      int gaps = 0, half_turns = 0;
      double half_turn_r = 0;
      for (std::size_t i : c.pieces) {
        const Piece& p = g.pieces()[i];
        gaps += p.bridge && p.length() > 0.1 * tol;
        if (p.kind == Kind::arc && std::fabs(p.sweep - kPi) < 1e-3) ++half_turns, half_turn_r = p.r;
      }
      // How far a circle stands off the nearest contour around it (on a
      // plate, a hole off the plate's outline).
      std::size_t nearest = around.empty() && shapes == "plate" ? outline : g.contours().size();
      for (std::size_t a : around)
        if (enclosing(g, a).size() + 1 == around.size()) nearest = a;
      double clear = -1;
      if (first.kind == Kind::circle && nearest < g.contours().size()) {
        clear = 1e9;
        for (std::size_t i : g.contours()[nearest].pieces)
          clear = std::min(clear, g.pieces()[i].distance_to(first.centre) - first.r);
      }
      found["polyline outlines with gaps"] += c.pieces.size() >= 50 && gaps > 0;
      found["circles 0.3 to 0.9 L inside a bore"] +=
          !around.empty() && clear > 0.3 * approach - 0.01 && clear < 0.9 * approach + 0.01;
      found["holes 0.3 L from the edge"] += std::fabs(clear - 0.3 * approach) < 0.01;
      found["slots narrower than 2 L"] +=
          (!around.empty() || shapes == "plate") && half_turns == 2 && half_turn_r < approach;
      found["parts smaller than 2 L"] +=
          around.empty() && std::min(c.max_x - c.min_x, c.max_y - c.min_y) < 2 * approach;
      found["parts in frames 5 deep"] += around.size() == 10;
    }
    // Records written twice, and the shared sides of parts in a row: line
    // records that lie on one line and overlap.
    int twice = 0, overlapping = 0;
    std::vector<std::array<double, 4>> lines;
    for (const std::string& line : *text)
      if (const auto v = line_record(line)) lines.push_back(*v);
    for (std::size_t i = 0; i < lines.size(); ++i)
      for (std::size_t j = i + 1; j < lines.size(); ++j) {
        const auto &a = lines[i], &b = lines[j];
        if (a == b) {
          ++twice;
        } else if (a[0] == a[2] && b[0] == a[0] && b[2] == a[0] &&
                   std::min(a[3], b[3]) > std::max(a[1], b[1])) {
          ++overlapping;
        }
      }
    found["records written twice"] = twice;
    found["sides drawn once per part"] = twice + overlapping;
    for (const char* what : drawn) EXPECT_GT(found[what], 0) << what;
  }
}

TEST(NcJudge, TakesTheOutlineAndTheLayersAsTheRunDid) {
  struct Case {
    Lines args;
    bool outline_cut, edge;
    LayerTicks layers;
  };
  const LayerTicks all{true, true, true, true, true, true};
  const std::vector<Case> cases{
      {{"--batch"}, true, false, all},
      {{"--batch", "--no-outline"}, false, false, all},
      {{"--batch", "--nested"}, true, false, all},
      {{"--batch", "--nested", "--no-outline"}, false, true, all},
      {{"--batch", "--layers", "0,3"}, true, false, {true, false, false, true, false, false}},
  };
  for (const Case& c : cases) {
    const JudgeOptions options = judge_options_of(c.args);
    EXPECT_EQ(options.outline_cut, c.outline_cut) << ::testing::PrintToString(c.args);
    EXPECT_EQ(options.edge, c.edge) << ::testing::PrintToString(c.args);
    EXPECT_EQ(options.layers, c.layers) << ::testing::PrintToString(c.args);
  }
}

}  // namespace
}  // namespace makenc
