// The operator's edits on the bundled plate, through the session both
// windows and the batch run drive: each edit changes the cut list, the job
// summary and the judged program as the shop expects, and undoing it gives
// back the run's own result byte for byte.
#include "assign/edits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "app/edit_file.h"
#include "app/session.h"
#include "assign/dump_cutlist.h"
#include "assign/placement.h"
#include "core/constants.h"
#include "geometry/element_shape.h"
#include "support/files.h"

namespace makenc {
namespace {

namespace fs = std::filesystem;

// The plate: a hole of radius 10 at (50, 50), a slot 120..180 x 90..110
// with round ends, a point at (150, 170), an open line (20..80, 180), a
// loop entered at (270, 140), a small hole at (250, 50) and the outline
// 300 x 200.
struct PlateEdits : ::testing::Test {
  void SetUp() override {
    fs::copy(fs::path(MAKENC_SOURCE_DIR) / "examples/plate", folder.path(), fs::copy_options::recursive);
    auto opened = open_session(folder.path());
    ASSERT_TRUE(opened.ok());
    session = std::move(*opened);
    redraw(session, kBatchPreviewWidth, kBatchPreviewHeight);
    run_assignment(session);
    measure_job(session);
    automatic = dump_cutlist(session.assignment);
  }

  Edit at(EditKind kind, double x, double y, double to_x = 0, double to_y = 0) {
    auto edit = edit_at(session, kind, x, y, edit_tolerance(session.preview, session.settings), to_x, to_y);
    EXPECT_TRUE(edit.ok()) << edit_word(kind) << " " << x << "," << y << ": " << edit.error().message;
    return edit.ok() ? *edit : Edit{};
  }
  void make(EditKind kind, double x, double y, double to_x = 0, double to_y = 0) {
    const Status made = add_edit(session, at(kind, x, y, to_x, to_y));
    ASSERT_TRUE(made.ok()) << made.error().message;
  }
  // The row of the cut list with the contour number, or the row count.
  std::size_t row_of(int contour) const {
    const Table& O = session.assignment.Ord_dat;
    for (std::size_t r = 0; r + 1 < O.rows(); ++r)
      if (O.at(r, rec::contour).number() == contour) return r;
    return O.rows();
  }
  double cell(int contour, int column) const {
    return session.assignment.Ord_dat.at(row_of(contour), static_cast<std::size_t>(column)).number();
  }
  const JobSummary& job() const { return session.summary.value(); }

  test::TempFolder folder;
  Session session;
  std::string automatic;
};

// The contour's own elements: the distance from a point to the nearest.
double distance_to_contour(const Session& s, std::size_t record, double x, double y) {
  const ContourSpan& span = s.assignment.Apr_span[record];
  double best = INFINITY;
  for (std::size_t r = span.first; r < span.end; ++r)
    if (auto shape = element_shape(s.start.drawing.layer(span.layer), r))
      best = std::min(best, distance_to(*shape, x, y));
  return best;
}

TEST_F(PlateEdits, AnEntryMovesTheContactPointOntoTheContourWhereverItIsClicked) {
  // Points near every element of the closed contours, inside and outside.
  struct Case {
    double x, y;
    int contour;
  };
  const std::vector<Case> cases{{61, 50, 2},   {50, 61, 2},   {42, 45, 2},  {150, 89, 4}, {111, 100, 4},
                                {189, 101, 4}, {150, 112, 4}, {250, 53, 3}, {248, 50, 3}, {0.5, 100, 1},
                                {299, 20, 1},  {150, 199, 1}, {100, 1, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
    const Edit edit = at(EditKind::entry, c.x, c.y);
    ASSERT_TRUE(add_edit(session, edit).ok());
    const double hx = cell(c.contour, rec::hit_x), hy = cell(c.contour, rec::hit_y);
    EXPECT_LT(distance_to_contour(session, edit.record, hx, hy), 1e-9);
    EXPECT_LT(std::hypot(hx - c.x, hy - c.y), 3.0) << "the contact point lies where the contour was clicked";
    const double lead = std::hypot(cell(c.contour, rec::apr_x) - hx, cell(c.contour, rec::apr_y) - hy);
    EXPECT_GT(lead, 0);
    EXPECT_LE(lead, session.settings.approach() + 1e-9);
    EXPECT_EQ(session.assignment.Ord_dat.rows(), session.automatic.Ord_dat.rows());
    EXPECT_TRUE(undo_edit(session));
    EXPECT_EQ(dump_cutlist(session.assignment), automatic);
  }
  EXPECT_FALSE(undo_edit(session)) << "nothing left to undo";
}

TEST_F(PlateEdits, AHoleIsEnteredFromInsideAndTheOutlineFromOutside) {
  make(EditKind::entry, 61, 50);
  EXPECT_DOUBLE_EQ(cell(2, rec::hit_x), 60);
  EXPECT_DOUBLE_EQ(cell(2, rec::apr_x), 60 - session.settings.approach());
  make(EditKind::entry, 0.5, 100);
  EXPECT_DOUBLE_EQ(cell(1, rec::hit_x), 0);
  EXPECT_DOUBLE_EQ(cell(1, rec::apr_x), -session.settings.approach());
  EXPECT_EQ(session.assignment.last_is_outline, true);
}

TEST_F(PlateEdits, AFlipMirrorsTheLeadInAboutTheContactPointAndTwiceGivesItBack) {
  const double ax = cell(4, rec::apr_x), ay = cell(4, rec::apr_y);
  const double cx = cell(4, rec::hit_x), cy = cell(4, rec::hit_y);
  make(EditKind::flip, 150, 111);
  EXPECT_DOUBLE_EQ(cell(4, rec::apr_x), 2 * cx - ax);
  EXPECT_DOUBLE_EQ(cell(4, rec::apr_y), 2 * cy - ay);
  make(EditKind::flip, 150, 111);
  EXPECT_EQ(dump_cutlist(session.assignment), automatic);
}

TEST_F(PlateEdits, MarkCutAndSkipChangeWhatTheSummaryCounts) {
  const JobSummary before = job();
  make(EditKind::mark, 150, 111);
  EXPECT_EQ(session.assignment.Ord_dat.at(row_of(4), rec::op), "mark");
  EXPECT_EQ(job().contours_cut, before.contours_cut - 1);
  EXPECT_EQ(job().contours_marked, before.contours_marked + 1);
  EXPECT_EQ(job().pierces, before.pierces - 1);
  make(EditKind::cut, 150, 111);
  EXPECT_EQ(dump_cutlist(session.assignment), automatic);
  make(EditKind::skip, 251, 50);
  EXPECT_EQ(row_of(3), session.assignment.Ord_dat.rows()) << "left out of the cut list";
  ASSERT_EQ(session.assignment.skipped.size(), 1u);
  EXPECT_EQ(job().contours_cut, before.contours_cut - 1);
  EXPECT_LT(job().cut_length, before.cut_length);
  make(EditKind::skip, 251, 50);
  EXPECT_EQ(dump_cutlist(session.assignment), automatic) << "left out twice is back in";
  EXPECT_TRUE(session.assignment.skipped.empty());
  // Left out, the outline is no longer held back as the outer contour.
  make(EditKind::skip, 150, 199);
  EXPECT_FALSE(session.assignment.last_is_outline);
  EXPECT_EQ(job().contours_cut, before.contours_cut - 1);
}

TEST_F(PlateEdits, AfterPutsAContourRightAfterAnotherAndTheRestKeepTheirOrder) {
  std::vector<double> order;
  const Table& O = session.assignment.Ord_dat;
  for (std::size_t r = 0; r + 1 < O.rows(); ++r) order.push_back(O.at(r, rec::contour).number());
  ASSERT_EQ(order, (std::vector<double>{2, 4, 7, 6, 5, 3, 1}));
  make(EditKind::after, 251, 50, 61, 50);  // the small hole right after the large one
  make(EditKind::after, 20, 180, 271, 140);
  std::vector<double> edited;
  for (std::size_t r = 0; r + 1 < O.rows(); ++r) edited.push_back(O.at(r, rec::contour).number());
  EXPECT_EQ(edited, (std::vector<double>{2, 3, 4, 7, 5, 6, 1}));
  EXPECT_TRUE(session.assignment.last_is_outline);
  EXPECT_TRUE(undo_edit(session));
  EXPECT_TRUE(undo_edit(session));
  EXPECT_EQ(dump_cutlist(session.assignment), automatic);
}

TEST_F(PlateEdits, EditsTheContourCannotTakeAreRefusedAndChangeNothing) {
  const double tolerance = edit_tolerance(session.preview, session.settings);
  struct Case {
    EditKind kind;
    double x, y, to_x, to_y;
    const char* why;
  };
  const std::vector<Case> cases{
      {EditKind::entry, 150, 170, 0, 0, "an open contour or a point has no lead-in"},
      {EditKind::flip, 50, 180, 0, 0, "an open contour or a point has no lead-in"},
      {EditKind::cut, 150, 170, 0, 0, "a point is only marked"},
      {EditKind::after, 150, 199, 61, 50, "the outline is cut last"},
      {EditKind::after, 61, 50, 150, 199, "the outline is cut last"},
      {EditKind::after, 61, 50, 59, 50, "a contour cannot be cut after itself"},
      {EditKind::entry, 100, 150, 0, 0, "no contour passes within"},
      {EditKind::after, 61, 50, 100, 150, "no contour passes within"},
  };
  for (const Case& c : cases) {
    auto edit = edit_at(session, c.kind, c.x, c.y, tolerance, c.to_x, c.to_y);
    ASSERT_FALSE(edit.ok()) << c.why;
    EXPECT_EQ(edit.error().message.find(c.why), 0u) << edit.error().message;
  }
  EXPECT_TRUE(session.edits.empty());
  EXPECT_EQ(dump_cutlist(session.assignment), automatic);
}

TEST_F(PlateEdits, AnotherRunStartsOverFromNoEdits) {
  make(EditKind::skip, 251, 50);
  make(EditKind::entry, 61, 50);
  run_assignment(session);
  EXPECT_TRUE(session.edits.empty());
  EXPECT_EQ(dump_cutlist(session.assignment), automatic);
  EXPECT_FALSE(undo_edit(session));
}

// A hole turned over is cut as a part: its pierce and its kerf fall in the
// plate, and the judge names exactly that.
TEST_F(PlateEdits, AFlippedHoleIsNamedByTheJudgeInItsOwnWords) {
  auto clean = build_checked_program(session, "2026/01/01");
  ASSERT_TRUE(clean.ok());
  EXPECT_TRUE(clean->judgement.faults.empty());
  make(EditKind::flip, 61, 50);
  auto flipped = build_checked_program(session, "2026/01/01");
  ASSERT_TRUE(flipped.ok());
  std::vector<FaultKind> kinds;
  for (const Fault& f : flipped->judgement.faults) {
    EXPECT_EQ(f.contour, "2");
    kinds.push_back(f.kind);
  }
  EXPECT_EQ(kinds, (std::vector<FaultKind>{FaultKind::lead_in_in_material, FaultKind::kerf_in_material}));
}

TEST(EditFile, LinesAreReadWithCrLfOrLfAndBlankLinesPassedOver) {
  auto lines = parse_edit_lines("entry 10,20\r\n\r\n  flip\t1.5,2 \r\nafter 1,2 3,4\nskip 0,0", "e.txt");
  ASSERT_TRUE(lines.ok()) << lines.error().message;
  ASSERT_EQ(lines->size(), 4u);
  EXPECT_EQ((*lines)[1].kind, EditKind::flip);
  EXPECT_EQ((*lines)[1].line, 3u);
  EXPECT_DOUBLE_EQ((*lines)[1].x, 1.5);
  EXPECT_EQ((*lines)[2].kind, EditKind::after);
  EXPECT_DOUBLE_EQ((*lines)[2].to_y, 4);
  EXPECT_EQ((*lines)[3].line, 5u);
}

TEST(EditFile, ABadLineIsRefusedWithTheFileTheLineAndTheReason) {
  const std::vector<std::pair<std::string, std::string>> cases{
      {"move 1,2",
       "e.txt, line 2: unknown edit \"move\"; the edits are entry, flip, mark, cut, skip and after"},
      {"entry 1;2", "e.txt, line 2: \"entry 1;2\" is not entry X,Y with points in drawing units"},
      {"entry 1,2,3", "e.txt, line 2: \"entry 1,2,3\" is not entry X,Y with points in drawing units"},
      {"skip", "e.txt, line 2: \"skip\" is not skip X,Y with points in drawing units"},
      {"mark 1,2 3,4", "e.txt, line 2: \"mark 1,2 3,4\" is not mark X,Y with points in drawing units"},
      {"after 1,2", "e.txt, line 2: \"after 1,2\" is not after X1,Y1 X2,Y2 with points in drawing units"},
      {"cut x,1", "e.txt, line 2: \"cut x,1\" is not cut X,Y with points in drawing units"},
      {"ENTRY 1,2",
       "e.txt, line 2: unknown edit \"ENTRY\"; the edits are entry, flip, mark, cut, skip and after"},
  };
  for (const auto& [line, message] : cases) {
    auto lines = parse_edit_lines("flip 5,5\r\n" + line + "\r\nflip 5,5\r\n", "e.txt");
    ASSERT_FALSE(lines.ok()) << line;
    EXPECT_EQ(lines.error().message, message);
  }
}

}  // namespace
}  // namespace makenc
