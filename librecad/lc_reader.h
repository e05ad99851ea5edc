// LibreCAD's drawing into the host's. Every entity LibreCAD shows (on layers that are on and
// thawed) becomes what the DXF reader makes of the same entity in a file: lines, arcs, circles
// and points one figure each, a polyline its lines and arcs, an ellipse lines within the chord
// tolerance, one segment per entity on its layer, in its colour and line type (by layer and by
// block resolved as a file's are). What the interface gives no geometry of (texts, block
// references, splines, hatches, dimensions, images) is counted, not read. The map keeps which
// LibreCAD entities each segment stands for, so that the command's changes go back to them.
#ifndef LIBRECAD_LC_READER_H
#define LIBRECAD_LC_READER_H

#include <QtGlobal>
#include <map>
#include <string>
#include <vector>

#include "host/drawing.h"

class Document_Interface;

namespace twinfind::librecad {

struct EntityMap {
  std::map<int, std::vector<qulonglong>> entitiesOf;  // host segment -> LibreCAD entity ids
  // The highest entity id LibreCAD had given when last looked: LibreCAD numbers entities in the
  // order it makes them, so the entities made since are those above it, in the drawing's order.
  qulonglong highestId = 0;
};

struct ReadResult {
  int segments = 0;
  std::map<std::string, int> notRead;  // entity type ("TEXT", "INSERT") -> how many
  std::string error;                   // empty: read
};

// Reads the drawing into `drawing` (which must be empty), marks it as the baseline that the
// changes are told against, and fills `map`.
ReadResult ReadDrawing(Document_Interface& doc, vexhost::Drawing& drawing, EntityMap& map,
                       double chordTolerance);

}  // namespace twinfind::librecad

#endif  // LIBRECAD_LC_READER_H
