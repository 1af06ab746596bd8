// Drawings made to defeat the material map, run whole: a hole painted as
// material by hand, contours drawn twice, parts that overlap. Each names
// the faults that are real, from --batch (its warnings) and from
// --check-nc on the program it wrote, and nothing else.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/text.h"
#include "support/files.h"
#include "support/whole_run.h"

namespace makenc {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

// A plate 200 x 120 (contour 1) with a round hole (2) and a square one
// (3, 70..110 x 40..80), more of layer 0 after them, and a marking line
// and a punch point on layer 1.
Lines plate(const Lines& more_of_layer_0 = {}) {
  Lines lines{"hq",
              "file=C:\\jww\\plate.jww",
              "#",
              "ly0",
              "lc2",
              "lt1",
              " 0 0 200 0",
              " 200 0 200 120",
              " 200 120 0 120",
              " 0 120 0 0",
              "ci 40 60 10",
              " 70 40 110 40",
              " 110 40 110 80",
              " 110 80 70 80",
              " 70 80 70 40"};
  lines.insert(lines.end(), more_of_layer_0.begin(), more_of_layer_0.end());
  for (const char* mark : {"ly1", "lc3", "lt1", " 140 30 180 30", "pt 160 90"}) lines.push_back(mark);
  return lines;
}

const std::string kNoFault =
    "lead_in_in_material 0, kerf_in_material 0, closed_cut_open 0, cut_before_enclosed 0, lead_in_crosses 0, "
    "not_cut 0, off_contour 0)";

struct DefeatingDrawing {
  const char* what;
  Lines drawing;
  Lines batch_args;
  Lines warnings;  // what --batch says on standard error, "makenc: warning: " left out
  Lines check_args;
  int check_exit;
  Lines check_out;  // what --check-nc prints, its summary last
};

std::vector<DefeatingDrawing> defeating_drawings() {
  return {
      // The user's word: the square hole is the material, the plate scrap.
      // The run enters the square from outside and the plate's outline
      // from inside, as painted; its judge leaves the sides to the user.
      // --check-nc knows no painting: by the drawing, the program spoils
      // the plate at those two contours, and only there.
      {"a hole painted as material by hand",
       plate(),
       {"--batch", "--paint", "75,60"},
       {},
       {},
       1,
       {"cut 2, contour 3 on layer 0 at (70.000, 60.000): the lead-in pierces the part at (65.000, 60.000)",
        "cut 2, contour 3 on layer 0 at (70.000, 60.000): the kerf is on the part's side",
        "cut 5, contour 1 on layer 0 at (100.000, 120.000): the lead-in pierces the part at (100.000, "
        "115.000)",
        "cut 5, contour 1 on layer 0 at (100.000, 120.000): the kerf is on the part's side",
        "Zemlak/plate.nc: 4 faults in 3 cuts and 2 markings (lead_in_in_material 2, kerf_in_material 2, "
        "closed_cut_open 0, cut_before_enclosed 0, lead_in_crosses 0, not_cut 0, off_contour 0)"}},
      // The plate and the square hole both painted: the square has
      // material on both sides, which the run names; by the drawing, only
      // the square is cut wrongly.
      {"a hole painted as material beside the plate",
       plate(),
       {"--batch", "--paint", "10,10", "--paint", "75,60"},
       {"contour 3 on layer ly0: no scrap beside its longest element for a lead-in; the lead-in may start in "
        "the part"},
       {},
       1,
       {"cut 2, contour 3 on layer 0 at (70.000, 60.000): the lead-in pierces the part at (65.000, 60.000)",
        "cut 2, contour 3 on layer 0 at (70.000, 60.000): the kerf is on the part's side",
        "Zemlak/plate.nc: 2 faults in 3 cuts and 2 markings (lead_in_in_material 1, kerf_in_material 1, "
        "closed_cut_open 0, cut_before_enclosed 0, lead_in_crosses 0, not_cut 0, off_contour 0)"}},
      // Both holes drawn again as they are: left out, each cut once.
      {"contours drawn twice",
       plate({"ci 40 60 10", " 70 40 110 40", " 110 40 110 80", " 110 80 70 80", " 70 80 70 40"}),
       {"--batch"},
       {"layer 0: 5 elements drawn twice were left out"},
       {},
       0,
       {"Zemlak/plate.nc: 0 faults in 3 cuts and 2 markings (" + kNoFault}},
      // The square drawn again the other way round, its lines in another
      // order and with their ends swapped.
      {"a contour drawn twice the other way round",
       plate({" 70 40 70 80", " 110 80 70 80", " 110 40 110 80", " 70 40 110 40"}),
       {"--batch"},
       {"layer 0: 4 elements drawn twice were left out"},
       {},
       0,
       {"Zemlak/plate.nc: 0 faults in 3 cuts and 2 markings (" + kNoFault}},
      // Two parts on a sheet overlapping in 100..120 x 60..100, and a disc
      // clear of both: each of the two is cut along its outline through the
      // other, its kerf in the other part; the disc is cut right.
      {"two parts overlapping",
       {"hq", "file=C:\\jww\\sheet.jww", "#", "ly0", "lc2", "lt1", " 0 0 300 0", " 300 0 300 200",
        " 300 200 0 200", " 0 200 0 0", " 20 20 120 20", " 120 20 120 100", " 120 100 20 100",
        " 20 100 20 20", " 100 60 200 60", " 200 60 200 150", " 200 150 100 150", " 100 150 100 60",
        "ci 250 100 20"},
       {"--batch", "--nested", "--no-outline"},
       {"cut 1, contour 2 on layer 0 at (70.000, 100.000): the kerf is on the part's side",
        "cut 2, contour 3 on layer 0 at (150.000, 150.000): the kerf is on the part's side"},
       {"--nested", "--no-outline"},
       1,
       {"cut 1, contour 2 on layer 0 at (70.000, 100.000): the kerf is on the part's side",
        "cut 2, contour 3 on layer 0 at (150.000, 150.000): the kerf is on the part's side",
        "Zemlak/sheet.nc: 2 faults in 3 cuts and 0 markings (lead_in_in_material 0, kerf_in_material 2, "
        "closed_cut_open 0, cut_before_enclosed 0, lead_in_crosses 0, not_cut 0, off_contour 0)"}},
  };
}

Lines lines_of_output(const std::string& text) {
  Lines lines;
  for (std::size_t at = 0, end; at < text.size(); at = end + 1) {
    end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(at, end - at));
  }
  return lines;
}

TEST(DefeatedMap, TheRunAndTheCheckNameTheRealFaultsAndNothingElse) {
  for (const DefeatingDrawing& d : defeating_drawings()) {
    SCOPED_TRACE(d.what);
    test::TempFolder host, home;
    fs::copy(fs::path(MAKENC_SOURCE_DIR) / "examples/plate/Zemlak", host.path("Zemlak"),
             fs::copy_options::recursive);
    fs::create_directories(home.path("jww/Zemlak"));
    const std::string drawing = join_crlf(d.drawing);
    host.write("JWC_TEMP.TXT", drawing);

    const test::RunResult batch = test::run_makenc(host.path(), d.batch_args, home.path());
    EXPECT_EQ(batch.exit_code, 0) << batch.err;
    Lines warnings;
    for (const std::string& w : d.warnings) warnings.push_back("makenc: warning: " + w);
    EXPECT_EQ(lines_of_output(batch.err), warnings) << batch.err;
    const std::vector<fs::path> programs = test::nc_programs_in(host.path("Zemlak"));
    ASSERT_EQ(programs.size(), 1u);

    // The host writes its drawing anew before the program is checked.
    host.write("JWC_TEMP.TXT", drawing);
    Lines args{"--check-nc", "Zemlak/" + programs[0].filename().string()};
    args.insert(args.end(), d.check_args.begin(), d.check_args.end());
    const test::RunResult check = test::run_makenc(host.path(), args, home.path());
    EXPECT_EQ(check.exit_code, d.check_exit) << check.out << check.err;
    EXPECT_EQ(check.err, "");
    EXPECT_EQ(lines_of_output(check.out), d.check_out) << check.out;
  }
}

}  // namespace
}  // namespace makenc
