// The host's crossing search on drawings of growing size: with the spatial index the cost of
// one search should grow far slower than the drawing; the scan of every segment grows with it.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

#include "host/host.h"
#include "host/search.h"

namespace {

// A drawing of n segments (lines, circles, small polylines) spread evenly over a square whose
// area grows with n, so that a window of fixed size meets about the same number of segments.
void BuildDrawing(int n) {
  vexhost::ResetHost();
  std::mt19937 random(7);
  const double side = std::sqrt(static_cast<double>(n)) * 10.0;
  std::uniform_real_distribution<double> at(0, side), size(0.5, 8);
  for (int i = 0; i < n; ++i) {
    const int id = VexSgmCreateSegment(VEX_SEGMENT_FIGURES, VEX_LIFE_LASTING);
    const double x = at(random), y = at(random), s = size(random);
    FigureRecord f{};
    if (i % 3 == 1) {
      f.kind = VEX_FIG_CIRCLE;
      f.u.circle.cx = x;
      f.u.circle.cy = y;
      f.u.circle.r = s / 2;
      VexFigCreateFigure(id, &f);
      continue;
    }
    f.kind = VEX_FIG_LINE;
    f.u.line = {x, y, x + s, y};
    VexFigCreateFigure(id, &f);
    if (i % 3 == 2) {
      f.u.line = {x + s, y, x + s, y + s};
      VexFigCreateFigure(id, &f);
    }
  }
}

void Search(benchmark::State& state, bool useIndex) {
  const int n = static_cast<int>(state.range(0));
  BuildDrawing(n);
  const double side = std::sqrt(static_cast<double>(n)) * 10.0;
  std::mt19937 random(11);
  std::uniform_real_distribution<double> at(0, side - 40);
  size_t found = 0;
  for (auto _ : state) {
    const double x = at(random), y = at(random);
    const VexBox area{x, y, x + 40, y + 40};
    const auto ids = vexhost::SearchSegments(vexhost::TheHost().drawing, &area, nullptr,
                                             vexhost::SearchMode::kCrossing, useIndex);
    found += ids.size();
    benchmark::DoNotOptimize(ids.data());
  }
  state.counters["found_per_search"] =
      benchmark::Counter(static_cast<double>(found) / static_cast<double>(state.iterations()));
}

void BM_CrossingSearchIndexed(benchmark::State& state) { Search(state, true); }
void BM_CrossingSearchScan(benchmark::State& state) { Search(state, false); }

BENCHMARK(BM_CrossingSearchIndexed)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CrossingSearchScan)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
