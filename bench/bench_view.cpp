// A wheel step in the preview on the sheet of about 100,000 entities after
// an assignment run: the zoom about the cursor and the whole picture drawn
// anew at the new scale (material colours, entities, lead-ins, rapid moves,
// order numbers). Start-up and the run are outside the timing.
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>

#include "app/session.h"
#include "app/view_control.h"
#include "core/constants.h"
#include "sheets.h"

namespace {

namespace fs = std::filesystem;
using makenc::bench::sheets;

// Arguments: the wheel steps from the fitted view before the timing, and
// whether the order numbers are shown. Each timed step zooms in by one step
// about the middle of the picture and the next one zooms out again, so every
// iteration draws a picture of the same zoom range.
void BM_WheelStep(benchmark::State& state) {
  const fs::path sheet = sheets().get(5500);
  if (sheet.empty()) return state.SkipWithError("cannot run " MAKENC_MAKE_SHEET);
  auto opened = makenc::open_session(sheet);
  if (!opened) return state.SkipWithError(opened.error().message.c_str());
  makenc::Session& s = *opened;
  makenc::redraw(s, makenc::kBatchPreviewWidth, makenc::kBatchPreviewHeight);
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

BENCHMARK(BM_WheelStep)
    ->ArgsProduct({{1, 4, 12, 24, 40}, {0, 1}})
    ->ArgNames({"steps", "numbers"})
    ->Unit(benchmark::kMillisecond);
