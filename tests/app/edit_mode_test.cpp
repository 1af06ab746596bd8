// Edit mode as both windows drive it: clicks and keys through the shared
// view control, on the bundled plate.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "app/session.h"
#include "app/view_control.h"
#include "assign/dump_cutlist.h"
#include "assign/placement.h"
#include "core/constants.h"
#include "support/files.h"

namespace makenc {
namespace {

namespace fs = std::filesystem;

struct EditMode : ::testing::Test {
  void SetUp() override {
    fs::copy(fs::path(MAKENC_SOURCE_DIR) / "examples/plate", folder.path(), fs::copy_options::recursive);
    auto opened = open_session(folder.path());
    ASSERT_TRUE(opened.ok());
    session = std::move(*opened);
    redraw(session, kBatchPreviewWidth, kBatchPreviewHeight);
    fit_view(view, session);
    run_assignment(session);
    measure_job(session);
    run = dump_cutlist(session.assignment);
    set_editing(view, true);
  }
  // The pixel of a drawing point in the fitted view.
  void left(double x, double y) {
    const PreviewFit& f = session.preview.fit;
    left_click_in_view(view, session, f.Scr_x0 + to_screen_len(f, x), f.Scr_y0 - to_screen_len(f, y));
  }
  void right(double x, double y) {
    const PreviewFit& f = session.preview.fit;
    right_click_in_view(view, session, f.Scr_x0 + to_screen_len(f, x), f.Scr_y0 - to_screen_len(f, y));
  }
  std::vector<double> order() const {
    std::vector<double> ids;
    const Table& O = session.assignment.Ord_dat;
    for (std::size_t r = 0; r + 1 < O.rows(); ++r) ids.push_back(O.at(r, rec::contour).number());
    return ids;
  }
  double pixel() const { return 1.0 / session.preview.fit.Scr_k; }

  test::TempFolder folder;
  Session session;
  ViewControl view;
  std::string run;
};

TEST_F(EditMode, AClickWithinAFewPixelsSelectsAndEntersFartherSelectsNothing) {
  left(60 + 4 * pixel(), 50);
  ASSERT_TRUE(view.selected);
  EXPECT_EQ(session.assignment.Apr_dat.at(*view.selected, rec::contour).number(), 2);
  EXPECT_EQ(session.edits.size(), 1u);
  EXPECT_EQ(session.preview.Mus_clic, 0);
  left(60 + 8 * pixel(), 50);
  EXPECT_EQ(session.edits.size(), 1u);
  EXPECT_EQ(view.edit_note.rfind("no contour passes within", 0), 0u) << view.edit_note;
  EXPECT_NE(view_status_text(view, session).find(view.edit_note), std::string::npos);
  // The open line on layer 1 is selected without an entry; it is marked,
  // so M cuts it, and M again marks it.
  left(50, 180);
  EXPECT_EQ(session.edits.size(), 1u);
  EXPECT_TRUE(view.edit_note.empty());
  EXPECT_TRUE(edit_key(view, session, EditKey::mark));
  EXPECT_EQ(session.assignment.Apr_dat.at(*view.selected, rec::op), "cut");
  EXPECT_TRUE(edit_key(view, session, EditKey::mark));
  EXPECT_EQ(session.assignment.Apr_dat.at(*view.selected, rec::op), "mark");
}

TEST_F(EditMode, ARightClickTurnsTheLeadInOverAndUndoTakesEachEditBack) {
  right(150, 110);
  ASSERT_EQ(session.edits.size(), 1u);
  EXPECT_EQ(session.edits[0].kind, EditKind::flip);
  EXPECT_TRUE(edit_key(view, session, EditKey::leave_out));
  EXPECT_EQ(session.assignment.skipped.size(), 1u);
  EXPECT_TRUE(edit_key(view, session, EditKey::undo));
  EXPECT_TRUE(edit_key(view, session, EditKey::undo));
  EXPECT_EQ(dump_cutlist(session.assignment), run);
  EXPECT_TRUE(edit_key(view, session, EditKey::undo));
  EXPECT_EQ(view.edit_note, "there is no edit to undo");
}

TEST_F(EditMode, TheOrderStepCutsEachClickedContourAfterTheOneBefore) {
  ASSERT_EQ(order(), (std::vector<double>{2, 4, 7, 6, 5, 3, 1}));
  set_ordering(view, true);
  left(270, 140);  // 5 first: nothing moves yet
  EXPECT_TRUE(session.edits.empty());
  left(252, 50);  // 3 after 5
  left(50, 60);   // 2 after 3
  EXPECT_EQ(order(), (std::vector<double>{4, 7, 6, 5, 3, 2, 1}));
  left(150, 200);  // the outline keeps its place, and says why
  EXPECT_EQ(view.edit_note, "the outline is cut last, when everything inside it is done");
  EXPECT_EQ(order(), (std::vector<double>{4, 7, 6, 5, 3, 2, 1}));
  set_editing(view, false);
  EXPECT_FALSE(view.ordering);
  EXPECT_FALSE(view.selected);
  EXPECT_FALSE(edit_key(view, session, EditKey::undo)) << "keys edit only in edit mode";
}

TEST_F(EditMode, KeysWithoutASelectionAndClicksBeforeARunChangeNothing) {
  EXPECT_FALSE(edit_key(view, session, EditKey::mark));
  EXPECT_EQ(view.edit_note, "select a contour first: click it");
  reset_assignment(session);
  left(60, 50);
  EXPECT_EQ(view.edit_note, "there is nothing to edit before アプローチ自動割付");
  EXPECT_EQ(session.preview.Mus_clic, 0);
}

// The picture: the contour left out traced in grey, the selected one in
// orange.
TEST_F(EditMode, TheSelectedContourAndTheOnesLeftOutArePlainInThePicture) {
  left(252, 50);
  edit_key(view, session, EditKey::leave_out);
  left(60, 50);
  const Surface& s = view_picture(view, session);
  const PreviewFit& f = session.preview.fit;
  auto colour_at = [&](double x, double y) {
    return s.at(static_cast<int>(std::floor(f.Scr_x0 + to_screen_len(f, x) + 0.5)),
                static_cast<int>(std::floor(f.Scr_y0 - to_screen_len(f, y) + 0.5)));
  };
  EXPECT_EQ(colour_at(40, 50), kSelectedOrange);
  EXPECT_EQ(colour_at(248, 50), kLeftOutGrey);
  set_editing(view, false);
  view_picture(view, session);
  EXPECT_NE(colour_at(40, 50), kSelectedOrange) << "out of edit mode nothing is selected";
  EXPECT_EQ(colour_at(248, 50), kLeftOutGrey) << "what is left out stays dimmed";
}

// A layer box redraws the preview and discards the map; an edit still
// shows its lead-in at once.
TEST_F(EditMode, AnEditAfterARedrawDrawsItsLeadIn) {
  redraw(session, kBatchPreviewWidth, kBatchPreviewHeight);
  const PreviewFit& f = session.preview.fit;
  const int x = static_cast<int>(std::floor(f.Scr_x0 + to_screen_len(f, 57.5) + 0.5));
  const int y = static_cast<int>(std::floor(f.Scr_y0 - to_screen_len(f, 50) + 0.5));
  ASSERT_NE(session.preview.surface.at(x, y), kBlack);
  left(60, 50);  // the hole entered on the right: its lead-in from (55, 50)
  EXPECT_EQ(session.preview.surface.at(x, y), kBlack);
}

}  // namespace
}  // namespace makenc
