// The window's work on the sheet of about 100,000 entities after start-up:
// the button "auto" (assignment run and job summary), a redraw of the
// fitted view at a window size, and a wheel step in the preview after an
// assignment run (the zoom about the cursor and the whole picture drawn anew
// at the new scale: material colours, entities, lead-ins, rapid moves, order
// numbers). Start-up is outside the timing.
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <optional>

#include "app/forms.h"
#include "app/session.h"
#include "app/view_control.h"
#include "core/constants.h"
#include "sheets.h"

namespace {

namespace fs = std::filesystem;
using makenc::bench::sheets;

// The preview of a window of this size (pixels).
constexpr int kWindowWidth = 1200;
constexpr int kWindowHeight = 800;

// The 5500-part sheet after start-up, its preview drawn at the given size;
// nothing when the sheet cannot be made or read (the benchmark says why).
std::optional<makenc::Session> opened_sheet(benchmark::State& state, int width, int height) {
  const fs::path sheet = sheets().get(5500);
  if (sheet.empty()) {
    state.SkipWithError("cannot run " MAKENC_MAKE_SHEET);
    return std::nullopt;
  }
  auto opened = makenc::open_session(sheet);
  if (!opened) {
    state.SkipWithError(opened.error().message.c_str());
    return std::nullopt;
  }
  makenc::redraw(*opened, width, height);
  return std::move(*opened);
}

// The button "auto" as the window's session runs it: the material map is
// prepared and built, lead-ins are placed, the cut order planned, the map
// shown in the preview and the job measured. Every iteration is one click on
// the same fitted preview.
void BM_AutoButton(benchmark::State& state) {
  auto opened = opened_sheet(state, kWindowWidth, kWindowHeight);
  if (!opened) return;
  makenc::Session& s = *opened;
  for (auto _ : state) {
    makenc::assign_approaches(s);
    benchmark::DoNotOptimize(s.assignment.Apr_cnt);
  }
  state.counters["entities"] = static_cast<double>(s.start.drawing.LY_cntAll);
}

// The window resized (or redrawn) after an assignment run: the preview drawn
// anew at the window size and the fitted view's picture taken from it.
void BM_RedrawFitted(benchmark::State& state) {
  auto opened = opened_sheet(state, kWindowWidth, kWindowHeight);
  if (!opened) return;
  makenc::Session& s = *opened;
  makenc::assign_approaches(s);
  makenc::ViewControl view;
  for (auto _ : state) {
    makenc::redraw(s, kWindowWidth, kWindowHeight);
    makenc::fit_view(view, s);
    benchmark::DoNotOptimize(makenc::view_picture(view, s).width());
  }
  state.counters["entities"] = static_cast<double>(s.start.drawing.LY_cntAll);
}

// Arguments: the wheel steps from the fitted view before the timing, and
// whether the order numbers are shown. Each timed step zooms in by one step
// about the middle of the picture and the next one zooms out again, so every
// iteration draws a picture of the same zoom range.
void BM_WheelStep(benchmark::State& state) {
  auto opened = opened_sheet(state, makenc::kBatchPreviewWidth, makenc::kBatchPreviewHeight);
  if (!opened) return;
  makenc::Session& s = *opened;
  makenc::run_assignment(s);
  makenc::ViewControl view;
  makenc::fit_view(view, s);
  view.order_numbers = state.range(1) != 0;
  const double x = makenc::kBatchPreviewWidth / 2.0, y = makenc::kBatchPreviewHeight / 2.0;
  makenc::wheel_view(view, s, x, y, static_cast<int>(state.range(0)));
  int direction = 1;
  for (auto _ : state) {
    makenc::wheel_view(view, s, x, y, direction);
    benchmark::DoNotOptimize(makenc::view_picture(view, s).width());
    direction = -direction;
  }
  state.counters["entities"] = static_cast<double>(s.start.drawing.LY_cntAll);
  state.counters["px_per_unit"] = view.scale;
}

}  // namespace

BENCHMARK(BM_AutoButton)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawFitted)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WheelStep)
    ->ArgsProduct({{1, 4, 12, 24, 40}, {0, 1}})
    ->ArgNames({"steps", "numbers"})
    ->Unit(benchmark::kMillisecond);
