// Where a segment came from in the file the drawing was read from: the handles (group 5) of the
// DXF entities that gave the segments. The DXF side fills it when the drawing came from a DXF
// file; a report shows no handles without it.
#ifndef TOOLS_SEGMENT_HANDLES_H
#define TOOLS_SEGMENT_HANDLES_H

#include <functional>
#include <string>
#include <vector>

namespace twinfind::tool {

// The handles of the entities the segments came from, each once, in the order of the file.
using SegmentHandles = std::function<std::vector<std::string>(const std::vector<int>& segments)>;

}  // namespace twinfind::tool

#endif  // TOOLS_SEGMENT_HANDLES_H
