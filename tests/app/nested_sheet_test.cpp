// Nested sheets with every part material and the sheet's edge not cut,
// judged by exact geometry: no lead-in starts in a part, part outlines start
// in the skeleton and holes inside the hole.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/batch.h"
#include "app/session.h"
#include "assign/dump_cutlist.h"
#include "assign/placement.h"
#include "core/constants.h"
#include "support/files.h"
#include "support/scrap_side.h"

namespace makenc {
namespace {

namespace fs = std::filesystem;

// A host folder with the sample plate's templates, the sheet's drawing and
// the approach length in place of the second line of the settings.
void make_host(const test::TempFolder& host, const char* sheet, const char* approach) {
  const fs::path source(MAKENC_SOURCE_DIR);
  fs::copy(source / "examples/plate/Zemlak", host.path() / "Zemlak", fs::copy_options::recursive);
  std::string settings = test::file_bytes(source / "examples/plate/Zemlak/Bin/set.ini");
  const std::size_t second = settings.find("\r\n") + 2;
  settings.replace(second, settings.find("\r\n", second) - second, approach);
  host.write("Zemlak/Bin/set.ini", settings);
  host.write("JWC_TEMP.TXT", test::file_bytes(source / "tests/data/sheets" / sheet));
}

Session nested_session(const test::TempFolder& host, int width, int height) {
  auto session = open_session(host.path());
  EXPECT_TRUE(session.ok()) << session.error().message;
  session->every_part_material = true;
  session->options.skip_outline = true;
  redraw(*session, width, height);
  return std::move(*session);
}

// The cut list with the one record k alone: whether a point lies inside
// that contour.
Assignment only_record(const Assignment& a, std::size_t k) {
  Assignment one;
  one.Ord_dat = Table(1, a.Ord_dat.cols() - 1);
  for (std::size_t c = 0; c < a.Ord_dat.cols(); ++c) one.Ord_dat.at(0, c) = a.Ord_dat.at(k, c);
  return one;
}

std::string Ord_kind(const Assignment& a, const std::string& contour) {
  for (std::size_t k = 0; k + 1 < a.Ord_dat.rows(); ++k)
    if (a.Ord_dat.at(k, rec::contour).text_form() == contour) return a.Ord_dat.at(k, rec::kind).text_form();
  return "";
}

// The map of the sheets on the batch run's preview, pixel by pixel against
// the geometry: grey exactly where an odd number of the cut contours (the
// sheet's edge not counted) enclose the pixel's centre. Pixels within two of
// a drawn line or point ring are left out: a line may stray a pixel from the
// true one, and the count it is held against is a plain one of its own.
TEST(NestedSheet, MaterialIsWhereAnOddNumberOfCutContoursEnclose) {
  // The sheet of 550 parts leaves few pixels clear of lines at this size.
  for (const char* sheet : {"sheet55_s2_all.txt", "sheet110_s3.txt"}) {
    SCOPED_TRACE(sheet);
    test::TempFolder host;
    make_host(host, sheet, "5");
    Session session = nested_session(host, kBatchPreviewWidth, kBatchPreviewHeight);
    run_assignment(session);
    // The map alone, under the drawing.
    show_material_map(session.preview, session.map, session.start.drawing, session.options.layers);
    const Surface map = session.preview.surface;
    const PreviewFit fit = session.preview.fit;
    int material = 0, scrap = 0;
    for (int y = 2; y + 2 < map.height(); y += 7) {
      for (int x = 2; x + 2 < map.width(); x += 7) {
        bool near_line = false;
        for (int dy = -2; dy <= 2; ++dy)
          for (int dx = -2; dx <= 2; ++dx) {
            const Colour c = map.pixel(x + dx, y + dy);
            near_line = near_line || c == kBlack || c == kPointRed;
          }
        if (near_line) continue;
        const double dx = (x - fit.Scr_x0) / fit.Scr_k, dy = (fit.Scr_y0 - y) / fit.Scr_k;
        const bool odd =
            test::containing_contours(session.start.drawing, session.assignment, dx, dy, false) % 2;
        (odd ? material : scrap) += 1;
        ASSERT_EQ(map.pixel(x, y) == kMaterialGrey, odd) << "pixel " << x << ", " << y;
      }
    }
    EXPECT_GT(material, 100);
    EXPECT_GT(scrap, 100);
  }
}

// Lead-ins on a preview that resolves the approach length, which is shorter
// than half the narrowest hole: what is judged is the side, not the scale.
// Loops only: a circle is a hole by its outline mark, whatever the map says
// (and a part the grid leaves open, cut as an open chain, does not count as
// enclosing the circles in it).
TEST(NestedSheet, PartsStartInTheSkeletonAndHolesInsideTheHole) {
  for (const char* sheet : {"sheet55_s2_all.txt", "sheet110_s3.txt"}) {
    SCOPED_TRACE(sheet);
    test::TempFolder host;
    make_host(host, sheet, "1.5");
    Session session = nested_session(host, 3600, 3400);  // 2 pixels a unit and more
    run_assignment(session);
    const Drawing& d = session.start.drawing;
    const Assignment& a = session.assignment;
    ASSERT_TRUE(a.last_is_outline) << "the sheet's edge is the outline";
    for (const test::LeadInStart& s : test::lead_ins_in_material(d, a, false))
      EXPECT_FALSE(Ord_kind(a, s.contour) == "loop") << "contour " << s.contour << " starts in material";
    const Table& Ord = a.Ord_dat;
    int parts = 0, holes = 0;
    for (std::size_t k = 0; k + 2 < Ord.rows(); ++k) {  // the outline and the spare row left out
      if (!(Ord.at(k, rec::op) == "cut") || !(Ord.at(k, rec::kind) == "loop")) continue;
      const double x = Ord.at(k, rec::apr_x).number(), y = Ord.at(k, rec::apr_y).number();
      const bool in_own_contour = test::containing_contours(d, only_record(a, k), x, y) == 1;
      (in_own_contour ? holes : parts) += 1;
      EXPECT_EQ(test::containing_contours(d, a, x, y, false), in_own_contour ? 2 : 0)
          << "contour " << Ord.at(k, rec::contour).text_form() << (in_own_contour ? ", a hole," : ", a part,")
          << " starts at " << x << ", " << y;
    }
    EXPECT_GT(parts, 50);
    EXPECT_GT(holes, parts / 2) << "slots and square holes";
  }
}

// A run that shows no preview paints nothing: at a scale the preview
// resolves and at one it does not, plain or nested, the run places and
// orders as one whose preview was drawn.
TEST(UnshownPreview, PlacesAndOrdersAsADrawnOne) {
  std::set<bool> own_maps;
  for (const bool nested : {false, true})
    for (const char* approach : {"1.5", "40"}) {
      SCOPED_TRACE(testing::Message() << (nested ? "nested, approach " : "plain, approach ") << approach);
      test::TempFolder host;
      make_host(host, "sheet110_s3.txt", approach);
      auto drawn = open_session(host.path()), unshown = open_session(host.path());
      ASSERT_TRUE(drawn.ok() && unshown.ok());
      drawn->every_part_material = unshown->every_part_material = nested;
      redraw(*drawn, kBatchPreviewWidth, kBatchPreviewHeight);
      fit_unshown_preview(*unshown, kBatchPreviewWidth, kBatchPreviewHeight);
      EXPECT_EQ(unshown->preview.fit.Scr_k, drawn->preview.fit.Scr_k);
      run_assignment(*drawn);
      run_assignment(*unshown);
      own_maps.insert(decision_fit(drawn->preview, drawn->start.drawing, drawn->settings).Scr_k !=
                      drawn->preview.fit.Scr_k);
      EXPECT_EQ(dump_cutlist(unshown->assignment), dump_cutlist(drawn->assignment));
    }
  EXPECT_EQ(own_maps.size(), 2u) << "decided finer than the preview, and at the preview's scale";
}

// The cut list of the host folder of a whole run: a sheet edge around a
// frame part with a part in its opening, and a plain part.
std::string cut_list(std::vector<std::string> args) {
  test::TempFolder host;
  fs::copy(fs::path(MAKENC_SOURCE_DIR) / "tests/golden/nested_paint_clear/input", host.path(),
           fs::copy_options::recursive);
  args.insert(args.begin(), "--dump-cutlist");
  auto cl = parse_command_line(args);
  EXPECT_TRUE(cl.ok());
  std::ostringstream out, err;
  EXPECT_EQ(run_dump_cutlist(*cl, host.path(), out, err), 0) << err.str();
  return out.str();
}

TEST(NestedSheet, PaintingByHandOverridesTheMapAndAClearDiscardsIt) {
  using Args = std::vector<std::string>;
  struct Pair {
    Args a, b;
    bool same;
  };
  const std::vector<Pair> pairs{
      {{"--nested", "--no-outline", "--paint", "150,80", "--clear", "150,80"},
       {"--nested", "--no-outline"},
       true},
      {{"--nested", "--no-outline", "--clear", "5,5", "--paint", "150,80"}, {"--paint", "150,80"}, true},
      {{"--nested", "--no-outline"}, {}, false},
      {{"--nested", "--no-outline"}, {"--nested"}, false},
      {{"--paint", "150,80"}, {}, false},
  };
  for (const Pair& p : pairs) {
    const std::string a = cut_list(p.a), b = cut_list(p.b);
    EXPECT_EQ(a == b, p.same) << ::testing::PrintToString(p.a) << " against " << ::testing::PrintToString(p.b)
                              << "\n"
                              << a << "\n"
                              << b;
  }
}

}  // namespace
}  // namespace makenc
