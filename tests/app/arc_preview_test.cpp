// The preview of a run with arc lead-ins shows each lead-in as the machine
// cuts it, and not the straight one the assignment run placed under it.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "app/session.h"
#include "assign/placement.h"
#include "core/constants.h"
#include "support/files.h"

namespace makenc {
namespace {

namespace fs = std::filesystem;

struct Shown {
  test::TempFolder folder;
  Session session;
  explicit Shown(const std::string& option_ini) {
    fs::copy(fs::path(MAKENC_SOURCE_DIR) / "examples/plate", folder.path(), fs::copy_options::recursive);
    if (!option_ini.empty()) test::write_file(folder.path() / "Zemlak/Bin/option.ini", option_ini);
    auto opened = open_session(folder.path());
    EXPECT_TRUE(opened.ok());
    if (opened.ok()) session = std::move(*opened);
    // Four times the batch picture, so that a lead-in spans many pixels.
    redraw(session, 4 * kBatchPreviewWidth, 4 * kBatchPreviewHeight);
    run_assignment(session);
    measure_job(session);
  }
  // Whether a pixel within one of the drawing point is black.
  bool black_at(Point p) const {
    const PreviewFit& f = session.preview.fit;
    const double x = f.Scr_x0 + to_screen_len(f, p.x), y = f.Scr_y0 - to_screen_len(f, p.y);
    for (int dx = -1; dx <= 1; ++dx)
      for (int dy = -1; dy <= 1; ++dy)
        if (session.preview.surface.pixel(x + dx, y + dy) == kBlack) return true;
    return false;
  }
  // The middle of the straight lead-in the run placed for row r of the cut list.
  Point straight_middle(std::size_t r) const {
    const Table& O = session.assignment.Ord_dat;
    return {(O.at(r, rec::apr_x).number() + O.at(r, rec::hit_x).number()) / 2,
            (O.at(r, rec::apr_y).number() + O.at(r, rec::hit_y).number()) / 2};
  }
};

TEST(ArcLeadInPreview, ShowsTheArcAndNotTheStraightLeadInUnderIt) {
  const Shown arcs("lead_in=arc\r\n");
  ASSERT_TRUE(arcs.session.summary);
  ASSERT_TRUE(lead_ins_shown_as_cut(arcs.session));
  const Shown lines("");
  ASSERT_FALSE(lead_ins_shown_as_cut(lines.session));
  int arcs_seen = 0;
  for (const ShownCut& cut : arcs.session.summary->shown_cuts) {
    for (const PathPiece& p : cut.lead_in) {
      if (p.word == ArcWord::none) continue;
      ++arcs_seen;
      // Halfway round the arc, between its ends.
      const double r = std::hypot(p.from.x - p.centre.x, p.from.y - p.centre.y);
      const double mx = (p.from.x + p.to.x) / 2 - p.centre.x, my = (p.from.y + p.to.y) / 2 - p.centre.y;
      const double m = std::hypot(mx, my);
      ASSERT_GT(m, 0);
      EXPECT_TRUE(arcs.black_at({p.centre.x + r * mx / m, p.centre.y + r * my / m})) << "row " << cut.row;
      // The straight lead-in's middle is the arc's centre, a radius from
      // everything drawn: blank with arcs, on the line without.
      const Point middle = arcs.straight_middle(cut.row);
      EXPECT_FALSE(arcs.black_at(middle)) << "row " << cut.row;
      EXPECT_TRUE(lines.black_at(lines.straight_middle(cut.row))) << "row " << cut.row;
    }
  }
  EXPECT_GT(arcs_seen, 0);
}

TEST(ArcLeadInPreview, BackToStraightLeadInsThePictureIsThatOfStraightOnes) {
  Shown shown("lead_in=arc\r\n");
  ASSERT_TRUE(lead_ins_shown_as_cut(shown.session));
  shown.session.settings.shop.lead_in = LeadInShape::line;
  measure_offered_job(shown.session);
  ASSERT_FALSE(lead_ins_shown_as_cut(shown.session));
  const Shown lines("");
  const Surface& got = shown.session.preview.surface;
  const Surface& want = lines.session.preview.surface;
  ASSERT_EQ(got.width(), want.width());
  ASSERT_EQ(got.height(), want.height());
  int differ = 0;
  for (int y = 0; y < got.height(); ++y)
    for (int x = 0; x < got.width(); ++x) differ += got.pixel(x, y) == want.pixel(x, y) ? 0 : 1;
  EXPECT_EQ(differ, 0);
}

}  // namespace
}  // namespace makenc
