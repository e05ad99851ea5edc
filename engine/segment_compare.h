// Whether two segments hold the same figures in the same place, and whether a segment lies
// inside a closed one.
#ifndef ENGINE_SEGMENT_COMPARE_H
#define ENGINE_SEGMENT_COMPARE_H

#include "engine/door_check.h"

#include <vector>

#include "settings/search_options.h"
#include "vexlib/vexlib.h"

namespace twinfind {

// Two coordinates agree when they differ by less than this, in drawing units (the comparison's
// own tolerance; settings/search_options.h).
inline constexpr double COINCIDE_EPS = kCoordinateTolerance;

// True when the segments hold the same figures in the same place (coordinates within the
// tolerance), in either drawing direction; segments with comparable hole records compare their
// circles and hole items instead. The drawing is left as it was found, and every hole record
// read is freed.
bool SegmentsCoincide(const SegmentRef& a, const SegmentRef& b, double tolerance = COINCIDE_EPS);

// A segment's figures read once, for comparing it with many others.
struct SegmentFigures {
  SegmentRef ref{};
  std::vector<FigureRecord> figures;
  bool ok = false;       // false: the host could not read the segment
  bool hasHole = false;  // the segment carries a hole record
  // The smallest and largest x and y coordinate the figures give (ends, centres, points):
  // segments whose figures agree have these within the tolerance too, so most pairs that
  // cannot coincide are told apart by them alone.
  VexBox spread{};
};
SegmentFigures ReadSegmentFigures(const SegmentRef& ref);
// The same into `read`, whose storage is reused; from the drawing read once while a caller
// holds it (engine/drawing_read.h).
void ReadSegmentFigures(const SegmentRef& ref, SegmentFigures& read);
// The same, always from the host.
void ReadHostSegmentFigures(const SegmentRef& ref, SegmentFigures& read);

// The same comparison on segments read before; the drawing must not have changed since.
bool SegmentsCoincide(const SegmentFigures& a, const SegmentFigures& b,
                      double tolerance = COINCIDE_EPS);

struct InsideAnswer {
  bool handled = false;  // false: `closed` is not a closed outline, or `other` not of type 0
  bool inside = false;   // every tested point of `other` lies inside or on the outline
};

InsideAnswer IsInsideClosedSegment(const SegmentRef& closed, const SegmentRef& other);

// The same for an outline given by its figures, known to be closed.
InsideAnswer IsInsideOutline(const FigureRecord* outline, int count, const SegmentRef& other);
// The same for a segment read before.
InsideAnswer IsInsideOutline(const FigureRecord* outline, int count, const SegmentFigures& other);

// The smallest and largest x and y coordinate the figures give (ends, centres, points).
VexBox SpreadOfFigures(const std::vector<FigureRecord>& figures);

}  // namespace twinfind

#endif  // ENGINE_SEGMENT_COMPARE_H
