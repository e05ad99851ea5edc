// The same-part search on generated drawings: 10, 100 and 498 twins (499 with the part) of a 10-
// and a 40-segment part, in ranges of 1,000 and 10,000 segments, with rotation and mirroring off
// and on.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "host/host.h"
#include "testkit/search_setup.h"
#include "testkit/twin_drawing.h"

namespace {

// Builds the drawing: the part, `twins` copies of it (turned when rotation is on, every other
// one mirrored when mirroring is on) and clutter up to `rangeSize` segments. Returns the number of twins the search must find (the part included).
int Build(int twins, int partSegments, int rangeSize, bool rotate, bool mirror,
          std::vector<int>& part) {
  vexhost::ResetHost();
  drawgen::TwinDrawing drawing(42, partSegments);
  part = drawing.Place({}).segments;
  const int columns = static_cast<int>(std::ceil(std::sqrt(twins + 1.0)));
  const double cell = drawing.spacing();
  for (int i = 1; i <= twins; ++i) {
    drawgen::Placement p{cell * (i % columns), cell * (i / columns), rotate ? 17.0 * i : 0.0,
                         mirror && i % 2 == 0};
    drawing.Place(p);
  }
  // Clutter at a constant density (about 20 pieces per grid cell) over and around the twins,
  // so that a larger range means a larger drawing, not a denser one.
  const int clutter = rangeSize - (twins + 1) * partSegments;
  if (clutter > 0) {
    const double side = std::max(cell * columns, cell * std::sqrt(clutter / 20.0));
    drawing.AddClutter(clutter, -cell, -cell, side, side);
  }
  return twins + 1;
}

void BM_FindMatches(benchmark::State& state) {
  const int twins = static_cast<int>(state.range(0));
  const int partSegments = static_cast<int>(state.range(1));
  const int rangeSize = static_cast<int>(state.range(2));
  const bool rotate = state.range(3) != 0, mirror = state.range(4) != 0;
  std::vector<int> part;
  const int expected = Build(twins, partSegments, rangeSize, rotate, mirror, part);
  const auto range = drawgen::AllSegments();
  twinfind::SearchOptions options;
  options.rotate = rotate;
  options.mirror = mirror;
  int found = 0;
  twinfind::SearchStats stats;
  for (auto _ : state) {
    const twinfind::TwinResult result = drawgen::SearchTwins(range, part, options);
    found = static_cast<int>(result.twins.size());
    stats = result.stats;
  }
  if (found != expected) {
    state.SkipWithError(
        ("found " + std::to_string(found) + " of " + std::to_string(expected)).c_str());
  }
  state.counters["range"] = static_cast<double>(range.size());
  state.counters["candidates"] = stats.candidates;
  state.counters["mirror_trials"] = stats.mirrorTrials;
  state.counters["reversed"] = stats.reversedCandidates;
  state.counters["per_candidate"] =
      benchmark::Counter(stats.candidates, benchmark::Counter::kIsIterationInvariantRate |
                                               benchmark::Counter::kInvert);
  state.counters["per_twin"] = benchmark::Counter(
      found, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// twins, part segments, range size, rotate, mirror
BENCHMARK(BM_FindMatches)
    ->ArgsProduct({{10}, {10, 40}, {1000, 10000}, {0, 1}, {0, 1}})
    ->ArgsProduct({{100}, {10}, {1100, 10000}, {0, 1}, {0, 1}})
    ->ArgsProduct({{100}, {40}, {10000}, {0, 1}, {0, 1}})
    ->ArgsProduct({{498}, {10}, {10000}, {0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
