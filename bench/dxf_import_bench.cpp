// Importing the largest real drawing (samples/real/crkbd-F.Cu.dxf, 3 MB, 40,810 entities)
// into an empty host drawing: reading the file, parsing it with dxflib, building the segments.
#include <benchmark/benchmark.h>

#include "dxf/dxf_import.h"

namespace {

void BM_ImportLargestRealDrawing(benchmark::State& state) {
  const std::string path = TWINFIND_REAL_DRAWINGS "/crkbd-F.Cu.dxf";
  int segments = 0;
  for (auto _ : state) {
    vexhost::Drawing drawing;
    const auto result = twinfind::dxf::ImportDxf(path, drawing);
    if (!result.ok) {
      state.SkipWithError(result.error.c_str());
      break;
    }
    segments = result.segments;
    benchmark::DoNotOptimize(drawing.ElementCount());
  }
  state.counters["segments"] = segments;
}
BENCHMARK(BM_ImportLargestRealDrawing)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
