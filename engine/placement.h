// Where a trial copy of the part lies: the window around a turned and moved part box, and its
// mirror image across a candidate line.
#ifndef ENGINE_PLACEMENT_H
#define ENGINE_PLACEMENT_H

#include "engine/door_check.h"

#include "vexlib/vexlib.h"

namespace twinfind {

// The box turned by dTheta about pivot, bounded, enlarged by 1 percent of its extent on each
// side (the upper margins measured after the lower ones), then moved from pivot to target.
VexBox PlacementWindow(double dTheta, VexPoint pivot, VexPoint target, const VexBox& box);

// The bounding box of the window's four corners reflected across the line start-end.
VexBox MirrorWindow(VexPoint lineStart, VexPoint lineEnd, const VexBox& window);

// The mirror image of the point across the line start-end; the point itself when the host
// finds no foot on the line.
VexPoint ReflectPoint(VexPoint lineStart, VexPoint lineEnd, VexPoint point);

}  // namespace twinfind

#endif  // ENGINE_PLACEMENT_H
