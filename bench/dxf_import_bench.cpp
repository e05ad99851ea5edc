// Importing DXF into an empty host drawing: the largest real drawing
// (samples/real/crkbd-F.Cu.dxf, 3 MB, 40,810 entities: reading the file, decoding its entities,
// building the segments, and keeping what saving back into the file needs: the file, where each
// entity lies, the drawing's baseline), and one polyline of N vertices beside one of 4N, timed
// in the same iterations: the row is the N import, counter x_4n the 4N import as a multiple of
// it. Counters of the real drawing: the segments, and the bytes the import keeps for saving.
// Peak memory is measured apart, one import per process (bench/import_memory.py). And doubling
// blocks of one text, 16 levels (imported) and 20 (refused by the weight of its texts).
#include <benchmark/benchmark.h>

#include <string>
#include <utility>

#include "bench/cpu_clock.h"
#include "bench/polyline_dxf.h"
#include "dxf/dxf_import.h"

namespace {

void BM_ImportLargestRealDrawing(benchmark::State& state) {
  const std::string path = TWINFIND_REAL_DRAWINGS "/crkbd-F.Cu.dxf";
  int segments = 0;
  size_t kept = 0;
  for (auto _ : state) {
    vexhost::Drawing drawing;
    const auto result = twinfind::dxf::ImportDxf(path, drawing);
    if (!result.ok) {
      state.SkipWithError(result.error.c_str());
      break;
    }
    segments = result.segments;
    kept = result.source->text().size() +
           result.source->entities().size() * sizeof(twinfind::dxf::SourceEntity);
    benchmark::DoNotOptimize(drawing.ElementCount());
  }
  if (segments != 40810) state.SkipWithError("crkbd-F.Cu.dxf did not give 40,810 segments");
  state.counters["segments"] = segments;
  state.counters["kept_MB"] = static_cast<double>(kept) / (1 << 20);
}
BENCHMARK(BM_ImportLargestRealDrawing)->Unit(benchmark::kMillisecond);

// Imports the text into a new drawing; false unless it gave one segment of `figures` figures.
bool ImportsAsOneSegment(std::string text, int figures) {
  vexhost::Drawing drawing;
  const auto result = twinfind::dxf::ImportDxfText(std::move(text), drawing);
  return result.ok && result.segments == 1 &&
         drawing.ElementCount() == static_cast<size_t>(figures);
}

void BM_ImportOnePolyline(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::string small = drawgen::OnePolylineDxf(n), large = drawgen::OnePolylineDxf(4 * n);
  double smallSeconds = 0, largeSeconds = 0;
  bool right = true;
  for (auto _ : state) {
    // The drawing is built and torn down inside each call: both are part of a load.
    drawgen::Timed(smallSeconds, [&] { right = ImportsAsOneSegment(small, n - 1) && right; });
    state.PauseTiming();
    drawgen::Timed(largeSeconds, [&] { right = ImportsAsOneSegment(large, 4 * n - 1) && right; });
    state.ResumeTiming();
  }
  if (!right) state.SkipWithError("a polyline did not import as one segment of all its spans");
  state.counters["vertices"] = n;
  state.counters["ms_4n"] = 1e3 * largeSeconds / static_cast<double>(state.iterations());
  state.counters["x_4n"] = largeSeconds / smallSeconds;
}
BENCHMARK(BM_ImportOnePolyline)->Arg(2500)->Arg(10000)->Unit(benchmark::kMillisecond);

// Doubling blocks of one text: T0 holds a TEXT, each further block two references of the one
// before, model space one reference of the last: 2^levels texts from a file of 2 KB.
std::string DoublingTextsDxf(int levels) {
  std::string text;
  auto group = [&text](int code, const std::string& value) {
    text += std::to_string(code) + "\n" + value + "\n";
  };
  auto reference = [&group](const std::string& block, const char* x) {
    for (const auto& [code, value] :
         {std::pair<int, std::string>{0, "INSERT"}, {8, "0"}, {2, block}, {10, x}, {20, "0"}}) {
      group(code, value);
    }
  };
  group(0, "SECTION");
  group(2, "BLOCKS");
  for (int n = 0; n <= levels; ++n) {
    for (const auto& [code, value] : {std::pair<int, std::string>{0, "BLOCK"},
                                      {8, "0"},
                                      {2, "T" + std::to_string(n)},
                                      {70, "0"},
                                      {10, "0"},
                                      {20, "0"}}) {
      group(code, value);
    }
    if (n == 0) {
      for (const auto& [code, value] : {std::pair<int, std::string>{0, "TEXT"},
                                        {8, "0"},
                                        {10, "0"},
                                        {20, "0"},
                                        {40, "1"},
                                        {1, "T"}}) {
        group(code, value);
      }
    } else {
      reference("T" + std::to_string(n - 1), "0");
      reference("T" + std::to_string(n - 1), "1");
    }
    group(0, "ENDBLK");
  }
  group(0, "ENDSEC");
  group(0, "SECTION");
  group(2, "ENTITIES");
  reference("T" + std::to_string(levels), "0");
  group(0, "ENDSEC");
  group(0, "EOF");
  return text;
}

// 16 levels: 65,536 texts, within what an import places from blocks (a text weighs 17 with its
// character); 20 levels: a million texts, refused when weighed, before anything is placed.
void BM_ImportDoublingBlocksOfTexts(benchmark::State& state) {
  const std::string text = DoublingTextsDxf(static_cast<int>(state.range(0)));
  size_t texts = 0;
  bool refused = false;
  for (auto _ : state) {
    vexhost::Drawing drawing;
    const auto result = twinfind::dxf::ImportDxfText(text, drawing);
    if (!result.ok) {
      state.SkipWithError(result.error.c_str());
      break;
    }
    texts = drawing.ElementCount();
    refused = !result.notHeld.empty();
  }
  state.counters["texts"] = static_cast<double>(texts);
  state.counters["refused"] = refused ? 1 : 0;
}
BENCHMARK(BM_ImportDoublingBlocksOfTexts)->Arg(16)->Arg(20)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
