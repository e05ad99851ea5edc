// 250 twins of a part of 40 loose lines (10,000 range segments), turned, rotation on: the
// search with the general method's dropping of overlapping twins, and everything the method
// does after it (marking the range entries taken, blinking), against the time of loading the same
// drawing from its DXF text, which each iteration also times (counter x_load). Once with every
// twin's lines in the part's order and direction, once with them shuffled and half of them
// reversed; the second row also reports its time as a multiple of the first (x_plain;
// search_x_plain for the search alone). Each row runs for at least two seconds, several iterations
// once it is fast.
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <utility>

#include "balloon/found_parts.h"
#include "bench/cpu_clock.h"
#include "bench/found_check.h"
#include "bench/loose_line_field.h"
#include "dxf/dxf_export.h"
#include "dxf/dxf_import.h"
#include "host/host.h"
#include "plugin/part_search.h"
#include "plugin/range_input.h"
#include "testkit/search_setup.h"

namespace {

constexpr int kTwins = 250;
constexpr int kLines = 40;

// The time per iteration of each row already run, by line order, for x_plain.
struct RowTimes {
  double all = 0, search = 0;  // seconds per iteration
};
std::map<drawgen::LineOrder, RowTimes> secondsPerIteration;

void BM_SearchAndAfter(benchmark::State& state) {
  const auto order = static_cast<drawgen::LineOrder>(state.range(0));
  vexhost::ResetHost();
  const drawgen::LooseLineField field = drawgen::BuildLooseLineField(kTwins, kLines, order);
  const std::vector<int> range = drawgen::AllSegments();
  const std::string dxf = twinfind::dxf::DxfTextOf(vexhost::TheHost().drawing);
  twinfind::SearchOptions options;
  options.rotate = true;
  double load = 0, search = 0, mark = 0, blink = 0;
  std::string wrong;
  twinfind::TwinResult found;
  for (auto _ : state) {
    state.PauseTiming();
    VexIdClearBlink();
    {
      vexhost::Drawing loaded;
      std::string text = dxf;
      drawgen::Timed(load, [&] {
        const auto result = twinfind::dxf::ImportDxfText(std::move(text), loaded);
        if (result.segments != field.segments) wrong = "the DXF text did not load";
      });
    }
    state.ResumeTiming();
    drawgen::Timed(search, [&] { found = drawgen::SearchTwins(range, field.part, options, true); });
    // The part step hands the twins and the range's taken entries on (not timed).
    twinfind::foundParts.twins = found.twins;
    twinfind::searchRange = {drawgen::RefsOf(range), found.taken};
    drawgen::Timed(mark, [&] { twinfind::MarkUsedTargets(); });
    drawgen::Timed(blink, [&] { twinfind::BlinkMatches(); });
  }
  if (wrong.empty()) wrong = drawgen::FoundDiffers(found, field.twins, 0, kLines);
  if (wrong.empty() &&
      vexhost::TheHost().drawing.blinking().size() != static_cast<size_t>(field.segments)) {
    wrong = "not every twin's segments blink";
  }
  if (!wrong.empty()) state.SkipWithError(wrong.c_str());
  const double all = search + mark + blink;
  const double n = static_cast<double>(state.iterations());
  state.counters["twins"] = static_cast<double>(found.twins.size());
  state.counters["candidates"] = found.stats.candidates;
  state.counters["search_ms"] = 1e3 * search / n;
  state.counters["mark_ms"] = 1e3 * mark / n;
  state.counters["blink_ms"] = 1e3 * blink / n;
  state.counters["load_ms"] = 1e3 * load / n;
  state.counters["x_load"] = all / load;
  secondsPerIteration[order] = {all / n, search / n};
  const auto plain = secondsPerIteration.find(drawgen::LineOrder::kAsPart);
  if (order != drawgen::LineOrder::kAsPart && plain != secondsPerIteration.end()) {
    state.counters["x_plain"] = all / n / plain->second.all;
    state.counters["search_x_plain"] = search / n / plain->second.search;
  }
}

BENCHMARK(BM_SearchAndAfter)
    ->ArgName("reordered")
    ->Arg(static_cast<int>(drawgen::LineOrder::kAsPart))
    ->Arg(static_cast<int>(drawgen::LineOrder::kShuffledHalfReversed))
    ->MinTime(2.0)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
