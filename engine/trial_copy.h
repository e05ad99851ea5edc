// A trial copy of the part, made in the command's own memory: the part's segments are read once
// from the work list (as the host's copy call would copy them), and each trial places their
// figures by turning, moving and mirroring them here, with the plane maps the host's copy and
// mirror calls use (common/plane_map.h). Nothing is made in, or deleted from, the drawing.
#ifndef ENGINE_TRIAL_COPY_H
#define ENGINE_TRIAL_COPY_H

#include "engine/door_check.h"

#include <cstdint>
#include <vector>

#include "common/plane_map.h"
#include "engine/segment_compare.h"
#include "vexlib/vexlib.h"

namespace twinfind {

// One segment of the part as a copy of it has it.
struct CopySource {
  SegmentRef ref{};
  uint8_t hasAttr5 = 0;
  SegmentFigures figures;  // as read from the drawing
};

// Reads the segments the work list holds. False, with the message shown, when a listed segment
// cannot be read (the copy call would have failed: "(T03)") or there are more than a working
// table holds ("(T04)").
bool ReadCopySources(int workList, std::vector<CopySource>& sources);

// One segment of the copy under the placements (the second, when given, after the first),
// into `out`, whose storage is reused.
void PlaceSegment(const CopySource& source, const PlaneMap& first, const PlaneMap* then,
                  SegmentFigures& out);

// The copy's segments under the placements (the second, when given, after the first), into
// `out` (one per source, the source's ref, hole flag and reading kept).
void PlaceCopy(const std::vector<CopySource>& sources, const PlaneMap& first, const PlaneMap* then,
               std::vector<SegmentFigures>& out);

}  // namespace twinfind

#endif  // ENGINE_TRIAL_COPY_H
