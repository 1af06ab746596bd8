// Painting material by hand on a plate too large for the preview to
// resolve the approach length: the map has a surface of its own, and a
// click in the preview paints there, at the drawing point under the mouse.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/session.h"
#include "core/constants.h"
#include "core/text.h"
#include "support/files.h"

namespace makenc {
namespace {

namespace fs = std::filesystem;

// A 3000 x 1500 plate with a rectangular hole (1000..1100, 700..750).
struct LargePlate : ::testing::Test {
  void SetUp() override {
    fs::copy(fs::path(MAKENC_SOURCE_DIR) / "examples/plate/Zemlak", folder.path() / "Zemlak",
             fs::copy_options::recursive);
    folder.write("JWC_TEMP.TXT",
                 join_crlf({"hq", "file=C:\\jww\\data\\large.jww", "#", "ly0", "lc2", " 0 0 3000 0",
                            " 3000 0 3000 1500", " 3000 1500 0 1500", " 0 1500 0 0", " 1000 700 1100 700",
                            " 1100 700 1100 750", " 1100 750 1000 750", " 1000 750 1000 700"}));
    auto opened = open_session(folder.path());
    ASSERT_TRUE(opened.ok());
    session = std::move(*opened);
    redraw(session, kBatchPreviewWidth, kBatchPreviewHeight);
  }

  // Whether the region of the drawing point is material.
  bool on_map(double x, double y) {
    return session.map.ready && session.map.material.is_material(session.map.regions->region_of(x, y));
  }
  Colour on_preview(double x, double y) {
    const Preview& p = session.preview;
    return p.surface.pixel(p.fit.Scr_x0 + to_screen_len(p.fit, x), p.fit.Scr_y0 - to_screen_len(p.fit, y));
  }

  test::TempFolder folder;
  Session session;
};

TEST_F(LargePlate, AClickPaintsTheMapAtTheDrawingPointAndTheRunKeepsIt) {
  const PreviewFit& f = session.preview.fit;
  // The middle of the hole, as the mouse gives it in preview pixels.
  left_click(session, f.Scr_x0 + to_screen_len(f, 1050), f.Scr_y0 - to_screen_len(f, 725));
  EXPECT_EQ(session.preview.Mus_clic, 1);
  EXPECT_TRUE(on_map(1050, 710));
  EXPECT_FALSE(on_map(500, 500)) << "the plate around the hole is another region";
  EXPECT_EQ(on_preview(1050, 725), kMaterialGrey) << "the preview shows the painting";
  run_assignment(session);
  // The painted hole is the material now: the hole's lead-in starts outside it.
  EXPECT_EQ(session.assignment.Apr_dat.at(0, 4).number(), 755);
  EXPECT_TRUE(on_map(1050, 710));
  EXPECT_EQ(session.preview.Mus_clic, 0);

  // A right click at any point clears the painting; the next run maps the
  // plate as material and enters the hole from inside.
  clear_painting_at(session, 1050, 725);
  EXPECT_FALSE(session.makeNC_visible);
  EXPECT_NE(on_preview(1050, 725), kMaterialGrey);
  run_assignment(session);
  EXPECT_EQ(session.assignment.Apr_dat.at(0, 4).number(), 745);
  EXPECT_TRUE(on_map(500, 500));
  EXPECT_EQ(on_preview(500, 500), kMaterialGrey);
  EXPECT_NE(on_preview(1050, 725), kMaterialGrey);

  // Painting by drawing units lands on the same region as the click.
  paint_at(session, 1050, 725);
  EXPECT_TRUE(on_map(1050, 710));
  EXPECT_EQ(session.preview.Mus_clic, 1);
}

}  // namespace
}  // namespace makenc
