// Entities moved along the drawing plane in their own groups: the points of each entity of a
// stretch (with its VERTEX, SEQEND and ATTRIB parts) shifted by the same distance, every other
// group written as it was. A part file and a block definition are made from the input's own
// entity text this way, so that curves, attributes, extended data and styles come across as the
// file had them.
#ifndef DXF_ENTITY_SHIFT_H
#define DXF_ENTITY_SHIFT_H

#include "dxf/group_editor.h"

namespace twinfind::dxf {

// Moves every entity whose head lies in the editor's stretch by (dx, dy) in world coordinates.
// Points kept in an entity's own plane (circles, arcs, polylines, references, texts) move by
// the distance as seen in that plane: x against x for an entity seen from below (extrusion
// 0, 0, -1). Directions, sizes and angles stay; extended data stays. A POLYLINE's own point
// (its elevation) stays: its vertices carry its shape.
void ShiftEntities(GroupEditor& e, double dx, double dy);

}  // namespace twinfind::dxf

#endif  // DXF_ENTITY_SHIFT_H
