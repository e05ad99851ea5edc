// Reversing figures; moving, turning, scaling and mirroring them is common/plane_map.h.
#ifndef HOST_TRANSFORM_H
#define HOST_TRANSFORM_H

#include "common/plane_map.h"
#include "vexlib/vexlib.h"

namespace vexhost {

// Motions of the plane and a figure under one are the project's one kind (common/plane_map.h).
using twinfind::PlaceFigure;
using twinfind::PlaneMap;

// The figure drawn the other way: a line's ends swap, an arc's ends swap and its direction
// flips; other kinds have no direction and stay as they are.
FigureRecord Reverse(const FigureRecord& figure);

}  // namespace vexhost

#endif  // HOST_TRANSFORM_H
