// Reading a DXF drawing into the host. See docs/dxf.md for what becomes of each entity.
#ifndef DXF_DXF_IMPORT_H
#define DXF_DXF_IMPORT_H

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dxf/curve_flattening.h"
#include "dxf/dxf_source.h"
#include "host/drawing.h"

namespace twinfind::dxf {

struct ImportOptions {
  // What block references may place from their blocks, all of them together: the weight of
  // their figures, texts and balloons (dxf/block_flattening.h: a figure weighs 1, a text 16
  // and 1 per character), and block copies entered. A reference that would pass it is left
  // out whole.
  uint64_t blockWeightLimit = 2000000;
  uint64_t blockCopyLimit = 10000000;
  // The memory the process may hold while importing, in bytes; nothing: DefaultMemoryLimit()
  // (dxf/memory_limit.h: TWINFIND_MEMORY_LIMIT_MB, else half the machine's memory).
  std::optional<uint64_t> memoryLimit;
  // How far (drawing units) the lines a spline or an ellipse becomes may lie from the curve (no
  // nearer than kFinestChordPart of its size), and how many lines all of them may become
  // together: a curve that would pass it is left out and counted.
  double chordTolerance = kDefaultChordTolerance;
  size_t mostCurveLines = kMostDrawingCurveLines;
};

struct ImportResult {
  bool ok = false;
  std::string error;                   // why the file could not be read (ok false)
  std::map<std::string, int> notHeld;  // entity type, or "TYPE (why)" -> how many were not taken
  std::map<std::string, int> unknownLineTypes;  // line-type name -> figures drawn continuous
  int segments = 0;                             // segments added to the drawing
  // Splines and ellipses drawn at the finest chord tolerance their size allows, coarser than
  // the one asked for (dxf/curve_flattening.h, kFinestChordPart).
  int coarserCurves = 0;
  // False for a file that ends without its end marker (0 EOF), after its last line `lines`:
  // it may have been cut short.
  bool endMarker = true;
  int lines = 0;
  // The DWG version ("AC1032") of a drawing read from a DWG file through the DWG reader
  // (dxf/dwg_reader.h); nothing for a DXF file. Such a drawing is saved as DXF only.
  std::optional<std::string> dwgVersion;
  // The file as read, with the segments each of its entities became: what saving the drawing
  // back into the file starts from (set when ok).
  std::shared_ptr<const DxfSource> source;
  // One "warning: ..." line for a missing end marker, per entry of notHeld and of
  // unknownLineTypes, and for curves drawn coarser than asked.
  std::vector<std::string> WarningLines() const;
};

// Reads a DXF file and adds its entities to the drawing (normally an empty one), which is then
// marked as the baseline of later changes. When the file cannot be read, the drawing is left as
// it was.
ImportResult ImportDxf(const std::string& path, vexhost::Drawing& drawing,
                       const ImportOptions& options = {});

// Reads the file a user names as a drawing, as every command of the tool opens one: a path that
// is no regular file (a directory, a FIFO, a device, a socket) is refused from its entry before
// anything opens it, since opening a FIFO would wait for a writer, maybe for ever; then
// ImportDxf. A DWG file (told by its first bytes) is read as the DXF the DWG reader makes of it
// (dxf/dwg_reader.h; TWINFIND_DWG_SECONDS bounds the reader's time, 120 s when unset, and the
// memory limit its memory). When it cannot be read, `error` is the whole message the user is
// told: "cannot read the drawing PATH: why".
ImportResult OpenDrawingFile(const std::string& path, vexhost::Drawing& drawing,
                             const ImportOptions& options = {});

// Whether a path names a DWG file (its extension, in any case): such a name is never written.
bool IsDwgName(const std::string& path);
// Whether a path names a DXF file (its extension, in any case).
bool IsDxfName(const std::string& path);

// The same for DXF text already in memory.
ImportResult ImportDxfText(std::string text, vexhost::Drawing& drawing,
                           const ImportOptions& options = {});

}  // namespace twinfind::dxf

#endif  // DXF_DXF_IMPORT_H
