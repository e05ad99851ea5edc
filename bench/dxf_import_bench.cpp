// Importing the largest real drawing (samples/real/crkbd-F.Cu.dxf, 3 MB, 40,810 entities)
// into an empty host drawing: reading the file, parsing it with dxflib, building the segments,
// and keeping what saving back into the file needs (the file, where each entity lies, the
// drawing's baseline). Counters: the segments, and the bytes the import keeps for saving (the
// file and the place of each entity). Peak memory is measured apart, one import per process
// (docs/dxf.md, "Performance").
#include <benchmark/benchmark.h>

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
  state.counters["segments"] = segments;
  state.counters["kept_MB"] = static_cast<double>(kept) / (1 << 20);
}
BENCHMARK(BM_ImportLargestRealDrawing)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
