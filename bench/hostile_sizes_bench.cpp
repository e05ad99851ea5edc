// Inputs whose cost once grew faster than their size, at growing sizes: the survey of N
// concentric closed squares, of N loose lines of random lengths, and of N near-equal parts (20
// copies of each shape, shapes 0.0004 apart in size); the search, turns allowed, of a part that
// is one polyline of N equal sides against its twin (its tries of the part's turns onto itself
// are as many as its sides). Each of those rows reports its time per element (counter
// us_per_n): flat when the cost grows as n (log n).
//
// The rows after them time the work at N (the row's time) and at 4N beside it, in the same
// iteration (counters ms_4n and x_4n, processor time of the thread; the goal is an x_4n of at
// most 6): the steps of the survey that compare N families whose boxes are all alike (naming
// those near and alike in shape), the survey of N copies of one line on top of each other, the
// import and save of N layers, the import of a spline of N control points, of ellipses asked for 4
// times the chords, and the import, survey and save of two polylines of N vertices.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <random>
#include <set>
#include <vector>

#include "bench/cpu_clock.h"
#include "bench/hostile_drawings.h"
#include "dxf/dxf_import.h"
#include "dxf/dxf_save.h"
#include "host/figures.h"
#include "host/host.h"
#include "survey/alike_families.h"
#include "survey/near_families.h"
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

// Runs `prepare(n)` (not timed) and `measure(n)` (timed) at the row's N and at 4N in every
// iteration. `measure` gives what was wrong with its result, empty when it was right; a wrong
// result is reported as an error that still tells the times.
template <typename Prepare, typename Measure>
void AtNAnd4N(benchmark::State& state, Prepare prepare, Measure measure) {
  const int n = static_cast<int>(state.range(0));
  double seconds[2] = {0, 0};
  std::string wrong;
  for (auto _ : state) {
    for (const int k : {0, 1}) {
      state.PauseTiming();
      prepare(k == 0 ? n : 4 * n);
      if (k == 0) state.ResumeTiming();
      drawgen::Timed(seconds[k], [&] {
        const std::string w = measure(k == 0 ? n : 4 * n);
        if (wrong.empty() && !w.empty()) wrong = (k == 0 ? "at N: " : "at 4N: ") + w;
      });
    }
    state.ResumeTiming();
  }
  const double iterations = static_cast<double>(state.iterations());
  if (!wrong.empty()) {
    wrong += " (N " + std::to_string(1e3 * seconds[0] / iterations) + " ms, 4N " +
             std::to_string(1e3 * seconds[1] / iterations) + " ms)";
    state.SkipWithError(wrong.c_str());
  }
  state.counters["ms_n"] = 1e3 * seconds[0] / iterations;
  state.counters["ms_4n"] = 1e3 * seconds[1] / iterations;
  state.counters["x_4n"] = seconds[1] / seconds[0];
}

// The survey of the whole drawing, with turns and mirror images or without.
twinfind::survey::SurveyResult SurveyAll(bool turns) {
  const auto& drawing = vexhost::TheHost().drawing;
  twinfind::SearchOptions options;
  options.rotate = options.mirror = turns;
  return twinfind::survey::Survey(drawing, twinfind::survey::RangeSegments(drawing, nullptr),
                                  options);
}

// The steps that compare the families a survey found with each other (near and alike), on
// families of two made of the shapes as the survey would make them.
void BM_ManyFamilies(benchmark::State& state) {
  std::vector<twinfind::survey::Family> families;
  size_t groups = 0;
  AtNAnd4N(
      state,
      [&](int n) {
        vexhost::ResetHost();
        const std::vector<int> ids = drawgen::AddBoxedShapes(n);
        const auto& drawing = vexhost::TheHost().drawing;
        families.assign(static_cast<size_t>(n), {});
        for (size_t k = 0; k < families.size(); ++k) {
          twinfind::survey::Family& f = families[k];
          f.part = {ids[4 * k], ids[4 * k + 1]};
          f.members.resize(2);
          f.members[0].segments = f.part;
          f.members[1].segments = {ids[4 * k + 2], ids[4 * k + 3]};
          f.box = twinfind::survey::BoxOf(drawing, f.part);
        }
      },
      [&](int) -> std::string {
        const auto& drawing = vexhost::TheHost().drawing;
        const twinfind::SearchOptions options;
        const auto near = twinfind::survey::FindNearFamilies(
            drawing, twinfind::survey::RangeSegments(drawing, nullptr), families, options);
        groups = twinfind::survey::FindAlikeFamilies(drawing, families, near, options).size();
        return near.empty() && groups == 0 ? "" : "families were told near or alike";
      });
}

void BM_CoincidentCopies(benchmark::State& state) {
  AtNAnd4N(
      state,
      [](int n) {
        vexhost::ResetHost();
        drawgen::AddCoincidentCopies(n);
      },
      [](int) -> std::string {
        const auto result = SurveyAll(true);
        if (result.families.empty() || result.families.front().members.size() != 3) {
          return "the square's family of three was not found first";
        }
        return "";
      });
}

// What was wrong with an import, empty when it gave `segments` segments (any when negative) and
// left nothing out.
std::string WrongImport(const twinfind::dxf::ImportResult& result, int segments) {
  if (!result.ok) return result.error;
  if (!result.notHeld.empty()) return "left out: " + result.notHeld.begin()->first;
  if (segments >= 0 && result.segments != segments) {
    return std::to_string(result.segments) + " segments";
  }
  return "";
}

std::string Imports(const std::string& text, vexhost::Drawing& drawing, int segments,
                    double chordTolerance = twinfind::dxf::kDefaultChordTolerance) {
  twinfind::dxf::ImportOptions options;
  options.chordTolerance = chordTolerance;
  return WrongImport(twinfind::dxf::ImportDxfText(text, drawing, options), segments);
}

void BM_ManyLayers(benchmark::State& state) {
  std::string text;
  AtNAnd4N(
      state, [&](int n) { text = drawgen::ManyLayersDxf(n); },
      [&](int n) -> std::string {
        vexhost::Drawing drawing;
        const auto read = twinfind::dxf::ImportDxfText(text, drawing);
        if (const std::string wrong = WrongImport(read, n); !wrong.empty()) return wrong;
        if (drawing.layerNames().size() < static_cast<size_t>(n)) return "layers lost";
        // Saved with a copy of every segment: each copy is new content on its layer.
        for (const int id : drawing.SegmentIds()) drawing.CopySegment(id);
        twinfind::dxf::SaveCounts counts;
        vexhost::Drawing back;
        const std::string wrong =
            Imports(twinfind::dxf::SavedDxfText(drawing, *read.source, counts), back, 2 * n);
        return wrong.empty() ? "" : "read back: " + wrong;
      });
}

void BM_SplineControlPoints(benchmark::State& state) {
  std::string text;
  AtNAnd4N(
      state, [&](int n) { text = drawgen::OneSplineDxf(n); },
      [&](int n) -> std::string {
        vexhost::Drawing drawing;
        const std::string wrong = Imports(text, drawing, 1);
        if (!wrong.empty()) return wrong;
        if (drawing.ElementCount() < static_cast<size_t>(n - 3)) return "fewer lines than spans";
        return "";
      });
}

// The ellipses at a chord tolerance of 1 / N drawing units, and (the 4N beside it) at a
// sixteenth of that: four times the chords.
void BM_ChordCount(benchmark::State& state) {
  const std::string text = drawgen::EllipsesDxf(100);
  size_t lines[2] = {0, 0};
  AtNAnd4N(
      state, [](int) {},
      [&](int n) -> std::string {
        const bool fine = n != state.range(0);
        vexhost::Drawing drawing;
        const std::string wrong =
            Imports(text, drawing, 100, 1.0 / (fine ? 4.0 * n : static_cast<double>(n)));
        lines[fine ? 1 : 0] = drawing.ElementCount();
        return wrong;
      });
  state.counters["lines"] = static_cast<double>(lines[0]);
  state.counters["lines_4n"] = static_cast<double>(lines[1]);
}

void BM_PolylineVertices(benchmark::State& state) {
  std::string text;
  AtNAnd4N(
      state, [&](int n) { text = drawgen::TwoPolylinesDxf(n); },
      [&](int n) -> std::string {
        vexhost::ResetHost();
        auto& drawing = vexhost::TheHost().drawing;
        twinfind::dxf::ImportOptions options;
        const auto read = twinfind::dxf::ImportDxfText(text, drawing, options);
        if (!read.ok || read.segments != 2) return "the polylines were not read";
        if (drawing.ElementCount() != static_cast<size_t>(2 * n)) return "sides lost";
        const auto result = SurveyAll(true);
        if (result.families.size() != 1 || result.families[0].members.size() != 2) {
          return "the polylines are no family of two";
        }
        drawing.DeleteSegment(result.families[0].members[1].segments[0]);
        twinfind::dxf::SaveCounts counts;
        const std::string saved = twinfind::dxf::SavedDxfText(drawing, *read.source, counts);
        return counts.deleted == 1 && saved.size() < text.size() ? "" : "the save went wrong";
      });
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

BENCHMARK(BM_ManyFamilies)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_CoincidentCopies)->Arg(5000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_ManyLayers)->Arg(25000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_SplineControlPoints)->Arg(25000)->Unit(benchmark::kMillisecond)->Iterations(1);
// Tolerances 0.001 and 1 / 16,000.
BENCHMARK(BM_ChordCount)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_PolylineVertices)->Arg(25000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
