// The button "auto" on generated nested sheets: the material map, one
// approach per contour and the cutting order. Planning is also measured
// alone on larger record tables, where a plain pass over the remaining
// contours every round would make it quadratic.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>

#include "assign/assignment.h"
#include "assign/cut_order.h"
#include "assign/placement.h"
#include "core/constants.h"
#include "import/startup.h"
#include "preview/preview.h"
#include "sheets.h"

namespace {

namespace fs = std::filesystem;
using makenc::bench::sheets;

void BM_ApproachAssignment(benchmark::State& state) {
  const fs::path folder = sheets().get(static_cast<int>(state.range(0)));
  if (folder.empty()) return state.SkipWithError("cannot run " MAKENC_MAKE_SHEET);
  makenc::Settings settings;
  auto started = makenc::start_up(folder, settings);
  if (!started) return state.SkipWithError(started.error().message.c_str());
  const makenc::Drawing& drawing = started->drawing;
  const makenc::LayerTicks ticks{true, true, true, true, true, true};
  makenc::Preview preview;
  makenc::redraw_preview(preview, drawing, ticks, makenc::kBatchPreviewWidth, makenc::kBatchPreviewHeight);
  makenc::Assignment assignment;
  for (auto _ : state) {
    makenc::run_approach_assignment(assignment, preview, drawing, settings, ticks);
    benchmark::DoNotOptimize(assignment.Ord_dat.rows());
  }
  state.counters["contours"] = static_cast<double>(drawing.Cnt_total);
  state.SetItemsProcessed(state.iterations() * drawing.Cnt_total);
}
BENCHMARK(BM_ApproachAssignment)->Arg(100)->Arg(1100)->ArgName("parts")->Unit(benchmark::kMillisecond);

// Planning alone on records scattered over a sheet, the last one held back.
void BM_PlanCutOrder(benchmark::State& state) {
  const auto count = static_cast<std::size_t>(state.range(0));
  std::mt19937 rng(1);
  std::uniform_real_distribution<double> coord(0, 3000);
  makenc::Assignment assignment;
  assignment.Apr_dat = makenc::Table(count, makenc::rec::last);
  for (std::size_t k = 0; k < count; ++k) {
    makenc::Table& t = assignment.Apr_dat;
    const double x = coord(rng), y = coord(rng);
    t.at(k, makenc::rec::layer) = "ly0";
    t.at(k, makenc::rec::contour) = makenc::Cell(static_cast<std::int64_t>(k + 1));
    t.at(k, makenc::rec::apr_x) = makenc::Cell(x);
    t.at(k, makenc::rec::apr_y) = makenc::Cell(y);
    t.at(k, makenc::rec::hit_x) = makenc::Cell(x);
    t.at(k, makenc::rec::hit_y) = makenc::Cell(y + 5);
    t.at(k, makenc::rec::op) = "cut";
    t.at(k, makenc::rec::kind) = k % 5 == 0 ? "line" : "loop";
  }
  for (auto _ : state) {
    makenc::plan_cut_order(assignment);
    benchmark::DoNotOptimize(assignment.Ord_dat.rows());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(count));
}
BENCHMARK(BM_PlanCutOrder)
    ->Arg(1000)
    ->Arg(5000)
    ->Arg(40000)
    ->ArgName("records")
    ->Unit(benchmark::kMillisecond);

}  // namespace
