// Writes a near-twin field as a DXF drawing, for runs of the tool and of the Python reference
// search on the same file:
//
//   write_near_twin_dxf OUT.dxf [SEGMENTS TWINS]     (default 10000 20)
//
// and prints what a run needs: the range, the part's window and how many twins it holds.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "bench/near_twin_field.h"
#include "dxf/dxf_export.h"
#include "host/host.h"

namespace {

void PrintBox(const char* name, const VexBox& b) {
  std::printf("%s %.6f %.6f %.6f %.6f\n", name, b.minX, b.minY, b.maxX, b.maxY);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 4) {
    std::fprintf(stderr, "usage: write_near_twin_dxf OUT.dxf [SEGMENTS TWINS]\n");
    return 2;
  }
  const int segments = argc == 4 ? std::atoi(argv[2]) : 10000;
  const int twins = argc == 4 ? std::atoi(argv[3]) : 20;
  try {
    vexhost::ResetHost();
    const drawgen::NearTwinField field = drawgen::BuildNearTwinField(segments, twins);
    std::string error;
    if (!twinfind::dxf::ExportDxf(vexhost::TheHost().drawing, argv[1], error)) {
      std::fprintf(stderr, "write_near_twin_dxf: %s\n", error.c_str());
      return 1;
    }
    PrintBox("range", field.rangeWindow);
    PrintBox("part", field.partWindow);
    std::printf("segments %d\ntwins %d\nmirrored %d\n", field.segments, field.twins,
                field.mirroredTwins);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "write_near_twin_dxf: %s\n", e.what());
    return 2;
  }
  return 0;
}
