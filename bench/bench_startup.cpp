// Start-up on generated nested sheets: both reads of the interchange file,
// measurement and chaining. A sheet of 1100 parts holds about 20,000
// entities; the host waits for all of it before the window opens.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>

#include "core/text.h"
#include "import/chain.h"
#include "import/measure.h"
#include "import/reader.h"
#include "import/startup.h"
#include "sheets.h"

namespace {

namespace fs = std::filesystem;
using makenc::bench::sheets;

void BM_StartUp(benchmark::State& state) {
  const fs::path folder = sheets().get(static_cast<int>(state.range(0)), state.range(1) != 0);
  if (folder.empty()) {
    state.SkipWithError("cannot run " MAKENC_MAKE_SHEET);
    return;
  }
  std::int64_t entities = 0;
  for (auto _ : state) {
    makenc::Settings settings;
    auto r = makenc::start_up(folder, settings);
    if (!r) {
      state.SkipWithError(r.error().message.c_str());
      return;
    }
    entities = r->drawing.LY_cntAll;
    benchmark::DoNotOptimize(r->drawing.Cnt_total);
  }
  state.counters["entities"] = static_cast<double>(entities);
  state.SetItemsProcessed(state.iterations() * entities);
}
BENCHMARK(BM_StartUp)
    ->ArgsProduct({{100, 1100}, {0, 1}})
    ->ArgNames({"parts", "shuffle_all"})
    ->Unit(benchmark::kMillisecond);

// Chaining alone, on the tables as measurement leaves them.
void BM_ChainLayers(benchmark::State& state) {
  const fs::path folder = sheets().get(static_cast<int>(state.range(0)), true);
  const auto lines = makenc::read_text_lines(folder / "JWC_TEMP.TXT");
  if (folder.empty() || !lines) {
    state.SkipWithError("cannot generate or read the sheet");
    return;
  }
  makenc::Reader rd;
  makenc::Drawing measured;
  if (!makenc::first_read(rd, measured, *lines)) return state.SkipWithError("first read failed");
  makenc::between_reads(rd, measured);
  if (!makenc::second_read(rd, measured, *lines)) return state.SkipWithError("second read failed");
  makenc::measure_layers(measured);
  const makenc::Settings settings;
  for (auto _ : state) {
    state.PauseTiming();
    makenc::Drawing d = measured;
    d.Cnt_total = 1;
    state.ResumeTiming();
    makenc::chain_layers(d, settings);
    benchmark::DoNotOptimize(d.Cnt_total);
  }
}
BENCHMARK(BM_ChainLayers)->Arg(1100)->ArgName("parts")->Unit(benchmark::kMillisecond);

}  // namespace
