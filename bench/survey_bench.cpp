// The survey of a whole drawing, with turns and mirror images counting: the largest real
// drawing (crkbd-F.Cu.dxf, 40,810 segments), and generated drawings of about 1,000 to
// 100,000 segments, whose time per segment (counter ns_per_segment) stays flat when the
// survey is linear in the drawing's size. A generated drawing holds five part shapes of six
// segments, each placed plainly, turned and mirrored in turn, and every tenth placement a
// near-twin; every row checks that the survey found each shape's twins and its near-twins as
// the two families they are.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "dxf/dxf_export.h"
#include "dxf/dxf_import.h"
#include "host/host.h"
#include "survey/survey.h"
#include "testkit/search_setup.h"
#include "testkit/twin_drawing.h"

namespace {

twinfind::SearchOptions TurnsAndMirrors() {
  twinfind::SearchOptions options;
  options.rotate = true;
  options.mirror = true;
  return options;
}

void BM_SurveyLargestRealDrawing(benchmark::State& state) {
  vexhost::ResetHost();
  auto& drawing = vexhost::TheHost().drawing;
  const auto imported = twinfind::dxf::ImportDxf(TWINFIND_REAL_DRAWINGS "/crkbd-F.Cu.dxf", drawing);
  if (!imported.ok || imported.segments != 40810) {
    state.SkipWithError("crkbd-F.Cu.dxf did not give 40,810 segments");
    return;
  }
  const std::vector<int> range = drawgen::AllSegments();
  size_t families = 0;
  long long trials = 0;
  for (auto _ : state) {
    const auto result = twinfind::survey::Survey(drawing, range, TurnsAndMirrors());
    families = result.families.size();
    trials = result.trials;
  }
  if (families == 0) state.SkipWithError("no family found");
  state.counters["families"] = static_cast<double>(families);
  state.counters["trials"] = static_cast<double>(trials);
}
BENCHMARK(BM_SurveyLargestRealDrawing)->Unit(benchmark::kMillisecond)->MinTime(2.0);

constexpr int kShapes = 5;

// The DXF text with every coordinate, size and angle (group codes 10 to 59) written to six
// decimals, as many exporters write them: copies then differ in the sixth decimal.
std::string WithSixDecimals(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  size_t at = 0;
  int code = -1;
  bool codeLine = true;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(at, end - at);
    if (codeLine) {
      code = std::atoi(line.c_str());
      out += line;
    } else if (code >= 10 && code <= 59) {
      char buffer[64];
      std::snprintf(buffer, sizeof buffer, "%.6f", std::strtod(line.c_str(), nullptr));
      out += buffer;
    } else {
      out += line;
    }
    out += '\n';
    codeLine = !codeLine;
    at = end + 1;
  }
  return out;
}

// Five part shapes of six segments placed plainly, turned and mirrored in turn over about
// `segments` segments, every tenth placement a near-twin; with `sixDecimals` the drawing is
// written to DXF with six decimals and read back. Surveys it in every iteration and checks
// that each shape's twins and near-twins are the two families they are.
void SurveyGenerated(benchmark::State& state, int segments, bool sixDecimals) {
  vexhost::ResetHost();
  std::vector<drawgen::TwinDrawing> shapes;
  double step = 0;
  for (int s = 0; s < kShapes; ++s) {
    shapes.emplace_back(static_cast<uint32_t>(101 + s), 6);
    step = std::max(step, shapes.back().spacing());
  }
  const int placements = segments / 6;
  const int columns = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(placements))));
  std::vector<int> twins(kShapes, 0), nearTwins(kShapes, 0);
  for (int i = 0; i < placements; ++i) {
    const int s = i % kShapes, k = i / kShapes;
    drawgen::Placement p;
    p.x = (i % columns) * step;
    p.y = (i / columns) * step;
    const bool near = k % 10 == 9;
    if (!near) {
      p.degrees = k % 3 == 1 ? 15.0 * (k % 24) : 0;
      p.mirrored = k % 3 == 2;
    }
    shapes[static_cast<size_t>(s)].Place(
        p, near ? drawgen::Variant::kNearTwin : drawgen::Variant::kTwin);
    ++(near ? nearTwins : twins)[static_cast<size_t>(s)];
  }
  if (sixDecimals) {
    const std::string text = WithSixDecimals(twinfind::dxf::DxfTextOf(vexhost::TheHost().drawing));
    vexhost::ResetHost();
    if (!twinfind::dxf::ImportDxfText(text, vexhost::TheHost().drawing).ok) {
      state.SkipWithError("the six-decimal drawing did not read back");
      return;
    }
  }
  auto& drawing = vexhost::TheHost().drawing;
  const std::vector<int> range = drawgen::AllSegments();
  std::string wrong;
  long long trials = 0;
  int searches = 0;
  for (auto _ : state) {
    const auto result = twinfind::survey::Survey(drawing, range, TurnsAndMirrors());
    trials = result.trials;
    searches = result.searches;
    std::vector<int> found, expected;
    for (const auto& family : result.families)
      found.push_back(static_cast<int>(family.members.size()));
    for (int s = 0; s < kShapes; ++s) {
      expected.push_back(twins[static_cast<size_t>(s)]);
      if (nearTwins[static_cast<size_t>(s)] >= 2)
        expected.push_back(nearTwins[static_cast<size_t>(s)]);
    }
    std::sort(found.begin(), found.end());
    std::sort(expected.begin(), expected.end());
    if (found != expected) wrong = "the survey did not find the drawing's families";
  }
  if (!wrong.empty()) state.SkipWithError(wrong.c_str());
  state.counters["segments"] = static_cast<double>(range.size());
  state.counters["searches"] = searches;
  state.counters["trials"] = static_cast<double>(trials);
  state.counters["ns_per_segment"] = benchmark::Counter(
      static_cast<double>(range.size()) * 1e-9,
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.SetComplexityN(static_cast<benchmark::IterationCount>(range.size()));
}

// About 1,000 to 100,000 segments, the times fitted to the size.
void GeneratedSizes(benchmark::internal::Benchmark* b) {
  for (const int n : {1000, 3000, 10000, 30000, 100000}) b->Arg(n);
  b->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
}

void BM_SurveyGenerated(benchmark::State& state) {
  SurveyGenerated(state, static_cast<int>(state.range(0)), false);
}
BENCHMARK(BM_SurveyGenerated)->Apply(GeneratedSizes);

void BM_SurveySixDecimals(benchmark::State& state) {
  SurveyGenerated(state, static_cast<int>(state.range(0)), true);
}
BENCHMARK(BM_SurveySixDecimals)->Apply(GeneratedSizes);

// A drawing as an architectural plan is: 160 distinct part shapes of 5 to 12 segments
// (furniture, fittings, symbols), each placed 2 to 8 times plainly, turned or mirrored, among
// 2,000 long lines and big circles of walls; about 8,000 entities. Every shape must come out as
// one family of its count (and the small holes that shapes share, as one family of holes).
void BM_SurveyPlanLike(benchmark::State& state) {
  vexhost::ResetHost();
  constexpr int kPlanShapes = 160;
  std::vector<drawgen::TwinDrawing> shapes;
  double step = 0;
  for (int s = 0; s < kPlanShapes; ++s) {
    shapes.emplace_back(static_cast<uint32_t>(1001 + s), 5 + s % 8);
    step = std::max(step, shapes.back().spacing());
  }
  std::vector<int> expected;
  int placed = 0;
  for (int s = 0; s < kPlanShapes; ++s) {
    const int copies = 2 + (s * 5) % 7;
    expected.push_back(copies);
    for (int k = 0; k < copies; ++k, ++placed) {
      drawgen::Placement p;
      p.x = (placed % 30) * step;
      p.y = (placed / 30) * step;
      p.degrees = k % 3 == 1 ? 90.0 * (1 + k % 3) : 0;
      p.mirrored = k % 3 == 2;
      shapes[static_cast<size_t>(s)].Place(p);
    }
  }
  shapes.front().AddClutter(2000, 0, 0, 30 * step, (placed / 30 + 1) * step);
  auto& drawing = vexhost::TheHost().drawing;
  const std::vector<int> range = drawgen::AllSegments();
  std::string wrong;
  size_t families = 0;
  int searches = 0;
  long long trials = 0;
  for (auto _ : state) {
    const auto result = twinfind::survey::Survey(drawing, range, TurnsAndMirrors());
    searches = result.searches;
    trials = result.trials;
    std::vector<int> found;
    families = result.families.size();
    // The shapes' families; the small holes that several shapes share are one more.
    for (const auto& family : result.families) {
      if (family.part.size() > 1) found.push_back(static_cast<int>(family.members.size()));
    }
    std::sort(found.begin(), found.end());
    std::sort(expected.begin(), expected.end());
    if (found != expected) {
      size_t same = 0;
      while (same < found.size() && same < expected.size() && found[same] == expected[same]) ++same;
      wrong = "the survey found " + std::to_string(found.size()) + " families, not the plan's " +
              std::to_string(expected.size()) + " (sorted counts agree up to " +
              std::to_string(same) + ", then " + std::to_string(found.back()) + ")";
    }
  }
  if (!wrong.empty()) state.SkipWithError(wrong.c_str());
  state.counters["segments"] = static_cast<double>(range.size());
  state.counters["families"] = static_cast<double>(families);
  state.counters["searches"] = searches;
  state.counters["trials"] = static_cast<double>(trials);
}
BENCHMARK(BM_SurveyPlanLike)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
