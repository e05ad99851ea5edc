// The search where every candidate fails: near-twin fields of 2,000 and 10,000 segments with 1
// percent true twins, rotation and mirror images on, so each near twin costs the direct trial,
// the mirror trial and both again from the candidate line's other end. Each search is reported
// as a multiple of the floor, one plain pass over the range's figures (BM_RangePass), which is
// timed beside it in every iteration (counter x_pass).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "bench/cpu_clock.h"
#include "bench/found_check.h"
#include "bench/near_twin_field.h"
#include "host/host.h"
#include "testkit/search_setup.h"

namespace {

constexpr int kTwinsPerHundredParts = 1;
constexpr int kPartSegments = 5;
constexpr int kPassesPerIteration = 20;  // the floor is short: time it often enough to be steady

FigureRecord passFigures[1000];

// Every figure of every range segment read once, as the search's own reading does.
int PassOverRange(const std::vector<int>& range) {
  int figures = 0;
  for (const int id : range) {
    const SegmentRef ref{vexhost::Drawing::kDrawingId, id};
    figures += VexFigGetFigure2(&ref, passFigures, 1000);
    benchmark::DoNotOptimize(passFigures);
  }
  return figures;
}

drawgen::NearTwinField Build(int segments) {
  vexhost::ResetHost();
  const int twins = segments / kPartSegments * kTwinsPerHundredParts / 100;
  return drawgen::BuildNearTwinField(segments, twins);
}

void BM_RangePass(benchmark::State& state) {
  const drawgen::NearTwinField field = Build(static_cast<int>(state.range(0)));
  const std::vector<int> range = drawgen::AllSegments();
  int figures = 0;
  for (auto _ : state) figures = PassOverRange(range);
  state.counters["segments"] = static_cast<double>(range.size());
  state.counters["figures"] = figures;
}

void BM_NearTwinSearch(benchmark::State& state) {
  const drawgen::NearTwinField field = Build(static_cast<int>(state.range(0)));
  const std::vector<int> range = drawgen::AllSegments();
  twinfind::SearchOptions options;
  options.rotate = true;
  options.mirror = true;
  double searchSeconds = 0, floorSeconds = 0;
  twinfind::TwinResult found;
  for (auto _ : state) {
    state.PauseTiming();
    drawgen::Timed(floorSeconds, [&] {
      for (int i = 0; i < kPassesPerIteration; ++i) PassOverRange(range);
    });
    state.ResumeTiming();
    drawgen::Timed(searchSeconds,
                   [&] { found = drawgen::SearchTwins(range, field.part, options); });
  }
  const std::string wrong =
      drawgen::FoundDiffers(found, field.twins, field.mirroredTwins, kPartSegments);
  if (!wrong.empty()) state.SkipWithError(wrong.c_str());
  const twinfind::SearchStats& stats = found.stats;
  state.counters["segments"] = static_cast<double>(range.size());
  state.counters["twins"] = static_cast<double>(found.twins.size());
  state.counters["candidates"] = stats.candidates;
  state.counters["mirror_trials"] = stats.mirrorTrials;
  state.counters["x_pass"] = searchSeconds / (floorSeconds / kPassesPerIteration);
}

// Unturned copies in one column (parts at the same x), rotation and mirror images on: what the
// search costs a near
// twin, from 200 to 10,000 parts (counter us_per_near_twin; flat when the screen's index finds
// a copy's neighbours without looking through the column).
void BM_NearTwinColumn(benchmark::State& state) {
  vexhost::ResetHost();
  const int parts = static_cast<int>(state.range(0));
  const drawgen::NearTwinField field =
      drawgen::BuildNearTwinField(parts * kPartSegments, std::max(1, parts / 100), true);
  const std::vector<int> range = drawgen::AllSegments();
  twinfind::SearchOptions options;
  options.rotate = true;
  options.mirror = true;
  options.rangeLimit = static_cast<int>(range.size());  // a range as large as the column
  twinfind::TwinResult found;
  for (auto _ : state) found = drawgen::SearchTwins(range, field.part, options);
  const std::string wrong =
      drawgen::FoundDiffers(found, field.twins, field.mirroredTwins, kPartSegments);
  if (!wrong.empty()) state.SkipWithError(wrong.c_str());
  state.counters["twins"] = static_cast<double>(found.twins.size());
  state.counters["us_per_near_twin"] = benchmark::Counter(
      static_cast<double>(parts - field.twins) * 1e-6,
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

BENCHMARK(BM_RangePass)->Arg(2000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NearTwinColumn)->Arg(200)->Arg(2000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NearTwinSearch)->Arg(2000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
