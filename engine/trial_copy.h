// A trial copy of the part, made in the command's own memory: the part's segments are read once
// from the work list (as the host's copy call would copy them), and each trial places their
// figures by turning, moving and mirroring them here, with the same arithmetic the host's
// copy and mirror calls use. Nothing is made in, or deleted from, the drawing.
#ifndef ENGINE_TRIAL_COPY_H
#define ENGINE_TRIAL_COPY_H

#include <cstdint>
#include <vector>

#include "engine/segment_compare.h"
#include "vexlib/vexlib.h"

namespace twinfind {

// x' = a*x + b*y + tx, y' = c*x + d*y + ty.
struct CopyPlacement {
  double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;

  // Moves base onto target and turns by `degrees` about it, as the host's copy call does.
  static CopyPlacement MoveTurn(VexPoint base, VexPoint target, double degrees);
  // Mirrors across the line through p1 and p2 (distinct), as the host's mirror call does.
  static CopyPlacement Mirror(VexPoint p1, VexPoint p2);

  bool identity() const { return a == 1 && b == 0 && c == 0 && d == 1 && tx == 0 && ty == 0; }
  // The figure under the placement: points move, radii keep their length, a mirror flips arcs.
  FigureRecord Apply(const FigureRecord& f) const;
};

// One segment of the part as a copy of it has it.
struct CopySource {
  SegmentRef ref{};
  uint8_t hasAttr5 = 0;
  bool closed = false;     // its figures form one closed outline
  SegmentFigures figures;  // as read from the drawing
};

// Reads the segments the work list holds. False, with the message shown, when a listed segment
// cannot be read (the copy call would have failed: "(T03)") or there are more than a working
// table holds ("(T04)").
bool ReadCopySources(int workList, std::vector<CopySource>& sources);

// One segment of the copy under the placements (the second, when given, after the first),
// into `out`, whose storage is reused.
void PlaceSegment(const CopySource& source, const CopyPlacement& first, const CopyPlacement* then,
                  SegmentFigures& out);

// The copy's segments under the placements (the second, when given, after the first), into
// `out` (one per source, the source's ref, hole flag and reading kept).
void PlaceCopy(const std::vector<CopySource>& sources, const CopyPlacement& first,
               const CopyPlacement* then, std::vector<SegmentFigures>& out);

}  // namespace twinfind

#endif  // ENGINE_TRIAL_COPY_H
