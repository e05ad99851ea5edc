// DXF text of a drawing that holds one long polyline, for measuring how the import grows with
// the size of one entity.
#ifndef BENCH_POLYLINE_DXF_H
#define BENCH_POLYLINE_DXF_H

#include <string>

namespace drawgen {

// A whole DXF file whose entities are one open LWPOLYLINE of `vertices` vertices (at least 2):
// a zigzag of straight spans with a bulged span every tenth, so the import makes one segment of
// vertices - 1 lines and arcs.
std::string OnePolylineDxf(int vertices);

}  // namespace drawgen

#endif  // BENCH_POLYLINE_DXF_H
