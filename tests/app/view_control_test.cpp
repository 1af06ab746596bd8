// The zoomed and panned view of the preview: it changes only the picture,
// never the material map or anything the assignment run and the NC program
// decide, and it follows the mouse.
#include "app/view_control.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "assign/dump_cutlist.h"
#include "core/constants.h"
#include "core/text.h"
#include "support/files.h"

namespace makenc {
namespace {

namespace fs = std::filesystem;

// The bundled sample (its preview is the map) and a 3000 x 1500 plate with a
// rectangular hole (1000..1100, 700..750), whose map is a surface of its own.
const std::vector<std::string>& drawings() {
  static const std::vector<std::string> all{
      "", join_crlf({"hq", "file=C:\\jww\\data\\large.jww", "#", "ly0", "lc2", " 0 0 3000 0",
                     " 3000 0 3000 1500", " 3000 1500 0 1500", " 0 1500 0 0", " 1000 700 1100 700",
                     " 1100 700 1100 750", " 1100 750 1000 750", " 1000 750 1000 700"})};
  return all;
}

struct Host {
  explicit Host(const std::string& drawing) {
    const fs::path plate = fs::path(MAKENC_SOURCE_DIR) / "examples/plate";
    fs::copy(plate / "Zemlak", folder.path() / "Zemlak", fs::copy_options::recursive);
    folder.write("JWC_TEMP.TXT", drawing.empty() ? test::file_bytes(plate / "JWC_TEMP.TXT") : drawing);
    auto opened = open_session(folder.path());
    EXPECT_TRUE(opened.ok());
    if (opened.ok()) session = std::move(*opened);
    redraw(session, kBatchPreviewWidth, kBatchPreviewHeight);
  }
  // The cut list and the NC program of one run of "auto" and "makeNC".
  std::string cut_and_program() {
    run_assignment(session);
    std::string out = dump_cutlist(session.assignment);
    auto written = make_nc(session);
    EXPECT_TRUE(written.ok());
    return written.ok() ? out + "\n--\n" + test::file_bytes(written->file) : out;
  }
  test::TempFolder folder;
  Session session;
};

// Every pixel and colour of a surface, folded into one number.
std::size_t fingerprint(const Surface& s) {
  std::size_t h = std::hash<std::string_view>{}(std::string_view(
      reinterpret_cast<const char*>(s.colours().data()), s.colours().size() * sizeof(Colour)));
  if (s.width() > 0)
    for (int y = 0; y < s.height(); ++y)
      h = h * 31 + std::hash<std::string_view>{}(std::string_view(
                       reinterpret_cast<const char*>(s.indexed_row(y)), static_cast<std::size_t>(s.width())));
  return h;
}

// Whether the map holds the region of the drawing point as material.
bool decided_at(Session& s, DrawingPoint p) {
  return s.map.ready && s.map.material.is_material(s.map.regions->region_of(p.x, p.y));
}

// Wheel steps, drags and pictures in between, with and without order
// numbers, before and after the run: the cut list and the NC program are
// those of a run nobody looked at, and showing a view never draws on the
// preview or the map.
TEST(View, NothingTheMachineGetsDependsOnTheView) {
  for (const std::string& d : drawings()) {
    SCOPED_TRACE(d.size());
    const std::string unseen = Host(d).cut_and_program();
    Host seen(d);
    Session& s = seen.session;
    ViewControl v;
    fit_view(v, s);
    auto look = [&](bool numbers) {
      const std::size_t preview = fingerprint(s.preview.surface);
      const std::vector<RegionKey> map = s.map.material.keys;
      v.order_numbers = numbers;
      const Surface& shown = view_picture(v, s);
      EXPECT_EQ(shown.width(), kBatchPreviewWidth);
      EXPECT_EQ(shown.height(), kBatchPreviewHeight);
      EXPECT_EQ(fingerprint(s.preview.surface), preview);
      EXPECT_EQ(s.map.material.keys, map);
    };
    struct Step {
      int wheel;
      double x, y, drag_x, drag_y;
    };
    const std::vector<Step> steps{{3, 100, 100, 0, 0},  {5, 700, 50, 200, -80}, {30, 0, 400, -500, 300},
                                  {-4, 450, 200, 0, 0}, {-60, 10, 10, 0, 0},    {12, 897, 407, 40, 40}};
    for (int pass = 0; pass < 2; ++pass) {
      for (const Step& st : steps) {
        wheel_view(v, s, st.x, st.y, st.wheel);
        look(pass == 1);
        start_pan(v, st.x, st.y);
        drag_view(v, s, st.x + st.drag_x, st.y + st.drag_y);
        end_pan(v);
        look(pass == 0);
      }
      if (pass == 0) run_assignment(s);
    }
    EXPECT_EQ(seen.cut_and_program(), unseen);
  }
}

// At each zoom the drawing point under the cursor stays under it, a left
// click there paints the region of that point on the map the run decides
// on and the picture shows it grey; a right click clears it from the picture.
TEST(View, ZoomFollowsTheCursorAndAClickPaintsTheRegionUnderIt) {
  Host host(drawings()[1]);
  Session& s = host.session;
  const DrawingPoint hole{1050, 725};
  ViewControl v;
  fit_view(v, s);
  const PreviewFit& f = s.preview.fit;
  double cx = f.Scr_x0 + to_screen_len(f, hole.x);
  double cy = f.Scr_y0 - to_screen_len(f, hole.y);
  for (const int step : {0, 1, 4, 9, 40}) {
    SCOPED_TRACE(step);
    const DrawingPoint before = drawing_point(v, s, cx, cy);
    wheel_view(v, s, cx, cy, step);
    const DrawingPoint after = drawing_point(v, s, cx, cy);
    EXPECT_NEAR(after.x, before.x, 1e-9 * 3000);
    EXPECT_NEAR(after.y, before.y, 1e-9 * 3000);
    // A few pixels off the hole's middle, still inside it at every zoom.
    cx += 3;
    const DrawingPoint p = drawing_point(v, s, cx, cy);
    ASSERT_TRUE(p.x > 1000 && p.x < 1100 && p.y > 700 && p.y < 750);
    left_click_in_view(v, s, cx, cy);
    EXPECT_TRUE(decided_at(s, p));
    EXPECT_FALSE(decided_at(s, {500, 500})) << "the plate is another region";
    EXPECT_EQ(view_picture(v, s).pixel(cx, cy), kMaterialGrey);
    right_click_in_view(v, s, cx, cy);
    EXPECT_NE(view_picture(v, s).pixel(cx, cy), kMaterialGrey);
  }
}

// The zoom stops at the fitted view and at kMostPixelsPerUnit; the fitted
// view does not pan; a pan keeps the picture's centre over the fitted area;
// a drawing fitted above the largest zoom does not zoom at all.
TEST(View, Limits) {
  Host host(drawings()[1]);
  Session& s = host.session;
  ViewControl v;
  fit_view(v, s);
  const double fitted = s.preview.fit.Scr_k;
  const DrawingPoint fitted_corner = v.top_left;
  EXPECT_EQ(cursor_text(v, s, s.preview.fit.Scr_x0, s.preview.fit.Scr_y0),
            "X 0.00  Y 0.00  0.2176 画素/単位");
  start_pan(v, 10, 10);
  drag_view(v, s, 300, 300);
  EXPECT_TRUE(v.fitted);
  EXPECT_EQ(v.top_left.x, fitted_corner.x);
  wheel_view(v, s, 450, 200, 1000);
  EXPECT_FALSE(v.fitted);
  EXPECT_EQ(v.scale, kMostPixelsPerUnit);
  drag_view(v, s, 1e6, -1e6);
  end_pan(v);
  const DrawingPoint centre = drawing_point(v, s, v.width / 2.0, v.height / 2.0);
  EXPECT_NEAR(centre.x, -s.preview.fit.Scr_x0 / fitted, 1e-6);
  EXPECT_NEAR(centre.y, (s.preview.fit.Scr_y0 - v.height) / fitted, 1e-6);
  wheel_view(v, s, 450, 200, -3);
  EXPECT_FALSE(v.fitted);
  EXPECT_NEAR(v.scale, kMostPixelsPerUnit / std::pow(1.25, 3), 1e-4);
  wheel_view(v, s, 450, 200, -1000);
  EXPECT_TRUE(v.fitted);
  EXPECT_EQ(v.scale, fitted);
  EXPECT_EQ(&view_picture(v, s), &s.preview.surface) << "the fitted view is the preview itself";

  Host tiny(join_crlf({"hq", "#", "ly0", "lc2", " 0 0 2 0", " 2 0 2 1", " 2 1 0 1", " 0 1 0 0"}));
  ViewControl t;
  fit_view(t, tiny.session);
  ASSERT_GT(tiny.session.preview.fit.Scr_k, kMostPixelsPerUnit);
  wheel_view(t, tiny.session, 10, 10, 5);
  EXPECT_TRUE(t.fitted);
}

// A move with the middle button held drags the drawing along; a move with
// the button up ends a pan whose release went elsewhere, and the drawing
// stays where the drag left it until the button is pressed again.
TEST(View, AMoveWithTheMiddleButtonUpEndsThePan) {
  Host host(drawings()[1]);
  Session& s = host.session;
  ViewControl v;
  fit_view(v, s);
  wheel_view(v, s, 450, 200, 4);
  const DrawingPoint zoomed = v.top_left;
  EXPECT_FALSE(move_mouse(v, s, 400, 180, true)) << "no pan under way";
  EXPECT_EQ(v.top_left.x, zoomed.x);
  start_pan(v, 450, 200);
  EXPECT_TRUE(move_mouse(v, s, 400, 180, true));
  const DrawingPoint dragged = v.top_left;
  EXPECT_NEAR(dragged.x - zoomed.x, 50 / v.scale, 1e-9);
  EXPECT_NEAR(dragged.y - zoomed.y, -20 / v.scale, 1e-9);
  EXPECT_FALSE(move_mouse(v, s, 300, 100, false));
  EXPECT_FALSE(v.panning);
  for (const bool held : {false, true}) {
    EXPECT_FALSE(move_mouse(v, s, 200, 50, held));
    EXPECT_EQ(v.top_left.x, dragged.x);
    EXPECT_EQ(v.top_left.y, dragged.y);
  }
  start_pan(v, 200, 50);
  EXPECT_TRUE(move_mouse(v, s, 210, 50, true));
  EXPECT_NEAR(v.top_left.x, dragged.x - 10 / v.scale, 1e-9);
}

// Order numbers sit on labels that cover nothing drawn: every pixel they
// change was a region colour, and at least the first contour is numbered.
TEST(View, OrderNumbersHideNoLine) {
  Host host(drawings()[0]);
  Session& s = host.session;
  run_assignment(s);
  ViewControl v;
  fit_view(v, s);
  for (const int zoom : {0, 4}) {
    wheel_view(v, s, 290, 295, zoom);
    v.order_numbers = false;
    const std::vector<Colour> plain = view_picture(v, s).pixels();
    v.order_numbers = true;
    const std::vector<Colour> numbered = view_picture(v, s).pixels();
    std::size_t changed = 0;
    for (std::size_t i = 0; i < plain.size(); ++i) {
      if (plain[i] == numbered[i]) continue;
      ++changed;
      EXPECT_TRUE(plain[i] == kMaterialGrey || plain[i] == kOutsideBlue || plain[i] == kBackground) << i;
      EXPECT_TRUE(numbered[i] == kOrderLabel || numbered[i] == kOrderDigits) << i;
    }
    EXPECT_GT(changed, 0U);
  }
}

}  // namespace
}  // namespace makenc
