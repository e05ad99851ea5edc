// Inputs whose cost once grew faster than their size, at growing sizes: the survey of N
// concentric closed squares, of N loose lines of random lengths, and of N near-equal parts (20
// copies of each shape, shapes 0.0004 apart in size); the search, turns allowed, of a part that
// is one polyline of N equal sides against its twin (its tries of the part's turns onto itself
// are as many as its sides). Each row reports its time per element (counter us_per_n): flat when
// the cost grows as n (log n).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <random>
#include <set>
#include <vector>

#include "host/figures.h"
#include "host/host.h"
#include "survey/survey.h"
#include "testkit/search_setup.h"

namespace {

int AddFigures(const std::vector<FigureRecord>& figures) {
  const int id = VexSgmCreateSegment(VEX_SEGMENT_FIGURES, VEX_LIFE_LASTING);
  for (const FigureRecord& f : figures) VexFigCreateFigure(id, &f);
  return id;
}

std::vector<FigureRecord> Square(double x, double y, double side) {
  return {vexhost::MakeLine(x, y, x + side, y), vexhost::MakeLine(x + side, y, x + side, y + side),
          vexhost::MakeLine(x + side, y + side, x, y + side), vexhost::MakeLine(x, y + side, x, y)};
}

void Survey(benchmark::State& state, size_t n) {
  const auto& drawing = vexhost::TheHost().drawing;
  const std::vector<int> range = twinfind::survey::RangeSegments(drawing, nullptr);
  twinfind::SearchOptions options;
  options.rotate = true;
  size_t listed = 0, distinct = 0;
  double seconds = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const auto result = twinfind::survey::Survey(drawing, range, options);
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::set<std::vector<int>> parts;
    listed = 0;
    for (const auto& family : result.families) {
      for (const auto& member : family.members) {
        std::vector<int> part = member.segments;
        std::sort(part.begin(), part.end());
        parts.insert(part);
        ++listed;
      }
    }
    distinct = parts.size();
  }
  state.counters["families_members"] = static_cast<double>(listed);
  state.counters["distinct_parts"] = static_cast<double>(distinct);
  state.counters["us_per_n"] =
      1e6 * seconds / static_cast<double>(state.iterations()) / static_cast<double>(n);
}

void BM_NestedSquares(benchmark::State& state) {
  vexhost::ResetHost();
  const int n = static_cast<int>(state.range(0));
  for (int i = 0; i < n; ++i) AddFigures(Square(-i - 1.0, -i - 1.0, 2.0 * (i + 1)));
  Survey(state, static_cast<size_t>(n));
}

void BM_LooseLines(benchmark::State& state) {
  vexhost::ResetHost();
  const int n = static_cast<int>(state.range(0));
  std::mt19937 random(7);
  std::uniform_real_distribution<double> length(0.5, 100.0), angle(0, 6.283);
  const int side = static_cast<int>(std::sqrt(n)) + 1;
  for (int i = 0; i < n; ++i) {
    const double x = 200.0 * (i % side), y = 200.0 * (i / side), l = length(random),
                 a = angle(random);
    AddFigures({vexhost::MakeLine(x, y, x + l * std::cos(a), y + l * std::sin(a))});
  }
  Survey(state, static_cast<size_t>(n));
}

void BM_NearEqualParts(benchmark::State& state) {
  vexhost::ResetHost();
  const int n = static_cast<int>(state.range(0));  // parts: shapes of 20 copies
  const int side = static_cast<int>(std::sqrt(n)) + 1;
  for (int i = 0; i < n; ++i) {
    const double w = 10 + 0.0004 * (i / 20);  // 20 copies of each width
    AddFigures(Square(30.0 * (i % side), 30.0 * (i / side), w));
  }
  Survey(state, static_cast<size_t>(n));
}

void BM_SearchTellsTheTurnOfALongPolyline(benchmark::State& state) {
  vexhost::ResetHost();
  const int n = static_cast<int>(state.range(0));
  // A closed polyline of n equal sides and random turns (a wiggly outline of equal steps), and
  // its twin moved: every side is a candidate for the anchor, on the part and on the twin.
  std::mt19937 random(3);
  std::uniform_real_distribution<double> turn(-1.0, 1.0);
  std::vector<FigureRecord> part, twin;
  double x = 0, y = 0, a = 0;
  for (int i = 0; i < n; ++i) {
    a += turn(random);
    const double nx = x + std::cos(a), ny = y + std::sin(a);
    part.push_back(vexhost::MakeLine(x, y, nx, ny));
    twin.push_back(vexhost::MakeLine(x + 1e5, y, nx + 1e5, ny));
    x = nx;
    y = ny;
  }
  const std::vector<int> ids = {AddFigures(part), AddFigures(twin)};
  twinfind::SearchOptions options;
  options.rotate = true;
  size_t twins = 0;
  double seconds = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    twins = drawgen::SearchTwins(ids, {ids[0]}, options).twins.size();
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  if (twins != 2) state.SkipWithError("the polyline and its twin were not found");
  state.counters["us_per_n"] =
      1e6 * seconds / static_cast<double>(state.iterations()) / static_cast<double>(n);
}

BENCHMARK(BM_NestedSquares)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK(BM_LooseLines)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK(BM_NearEqualParts)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK(BM_SearchTellsTheTurnOfALongPolyline)
    ->Arg(1000)
    ->Arg(3000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
