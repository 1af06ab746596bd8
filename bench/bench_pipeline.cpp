// The three stages of a batch run, each on its own, on generated sheets of
// about 1,000, 10,000 and 100,000 entities (55, 550 and 5500 parts): start-up
// with the first drawing of the preview, the assignment run of the button
// "auto", and NC generation with the hand-back of the button "makeNC".
#include <benchmark/benchmark.h>

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "app/session.h"
#include "core/constants.h"
#include "sheets.h"

namespace {

namespace fs = std::filesystem;
using makenc::bench::sheets;

// A copy of the sheet's host folder, since NC generation hands the drawing
// back over its interchange file.
class Scratch {
 public:
  explicit Scratch(const fs::path& sheet) : path_(sheet.string() + "-run") {
    std::error_code ec;
    fs::remove_all(path_, ec);
    fs::copy(sheet, path_, fs::copy_options::recursive, ec);
  }
  ~Scratch() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

void count_entities(benchmark::State& state, const makenc::Session& s) {
  state.counters["entities"] = static_cast<double>(s.start.drawing.LY_cntAll);
  state.counters["contours"] = static_cast<double>(s.start.drawing.Cnt_total);
}

// Start-up and the first drawing of the preview, as a batch run does them;
// nothing when the sheet cannot be made or read (the benchmark is skipped).
std::optional<makenc::Session> start(benchmark::State& state, const fs::path& folder) {
  auto s = makenc::open_session(folder);
  if (!s) {
    state.SkipWithError(s.error().message.c_str());
    return std::nullopt;
  }
  makenc::redraw(*s, makenc::kBatchPreviewWidth, makenc::kBatchPreviewHeight);
  return std::move(*s);
}

void BM_StartUpStage(benchmark::State& state) {
  const fs::path sheet = sheets().get(static_cast<int>(state.range(0)));
  if (sheet.empty()) return state.SkipWithError("cannot run " MAKENC_MAKE_SHEET);
  Scratch host(sheet);
  for (auto _ : state) {
    auto s = start(state, host.path());
    if (!s) return;
    count_entities(state, *s);
  }
}

void BM_AssignmentStage(benchmark::State& state) {
  const fs::path sheet = sheets().get(static_cast<int>(state.range(0)));
  if (sheet.empty()) return state.SkipWithError("cannot run " MAKENC_MAKE_SHEET);
  Scratch host(sheet);
  auto s = start(state, host.path());
  if (!s) return;
  for (auto _ : state) {
    makenc::run_assignment(*s);
    benchmark::DoNotOptimize(s->assignment.Ord_dat.rows());
  }
  count_entities(state, *s);
}

void BM_NcGenerationStage(benchmark::State& state) {
  const fs::path sheet = sheets().get(static_cast<int>(state.range(0)));
  if (sheet.empty()) return state.SkipWithError("cannot run " MAKENC_MAKE_SHEET);
  Scratch host(sheet);
  auto s = start(state, host.path());
  if (!s) return;
  makenc::run_assignment(*s);
  for (auto _ : state) {
    auto written = makenc::make_nc(*s);
    if (!written) return state.SkipWithError(written.error().message.c_str());
  }
  count_entities(state, *s);
}

}  // namespace

BENCHMARK(BM_StartUpStage)->Arg(55)->Arg(550)->Arg(5500)->ArgName("parts")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AssignmentStage)->Arg(55)->Arg(550)->Arg(5500)->ArgName("parts")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NcGenerationStage)
    ->Arg(55)
    ->Arg(550)
    ->Arg(5500)
    ->ArgName("parts")
    ->Unit(benchmark::kMillisecond);
