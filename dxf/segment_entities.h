// One host segment as DXF entities, chosen so that reading the file back gives the same
// segment with the same figures in the same order and direction:
//   - one figure: LINE, CIRCLE, POINT or ARC (a clockwise arc as the ARC over the same points,
//     marked clockwise in our extended data);
//   - two or more lines and arcs of one line attribute that join end to end, in order: one
//     POLYLINE whose vertices carry the arcs as bulges (closed when the last figure ends where
//     the first starts), an LWPOLYLINE in files of R13 and later;
//   - any other segment of figures: a block of its figures, each as above, and one INSERT of
//     it on the segment's layer;
//   - a text: TEXT; a balloon: an INSERT of a block that draws it (circle, rows, leader),
//     carrying the balloon in our extended data; a segment of several texts and balloons: an
//     INSERT of a block holding them.
// Segment attributes travel in our extended data on the entity that stands for the segment.
// Handles, owners, subclass markers and block names follow the output format.
#ifndef DXF_SEGMENT_ENTITIES_H
#define DXF_SEGMENT_ENTITIES_H

#include <set>
#include <string>
#include <vector>

#include "dxf/dxf_writer.h"
#include "dxf/output_format.h"
#include "host/drawing.h"

namespace twinfind::dxf {

// What could not be written.
struct ExportNotes {
  int figuresWithoutForm = 0;  // figures of kinds 4 and 5, which DXF has no entity for
};

class SegmentWriter {
 public:
  SegmentWriter(const vexhost::Drawing& drawing, DxfWriter& entities, DxfWriter& blocks,
                ExportNotes& notes, OutputFormat& format)
      : drawing_(drawing), entities_(entities), blocks_(blocks), notes_(notes), format_(format) {}

  // Writes the segment on the layer (its name as written in the file); the number of entities
  // it added to the entities.
  int Write(const vexhost::Segment& segment, const std::string& layer);

  // The line types (host numbers) and whether our extended data were written so far.
  const std::set<int>& lineTypesUsed() const { return lineTypes_; }
  bool wroteXData() const { return wroteXData_; }

 private:
  // Where entities go: the entities section or a block, and the handle that owns them there.
  struct Target {
    DxfWriter& out;
    std::string owner;
  };
  void WriteFigures(const vexhost::Segment& segment, const std::string& layer);
  void WriteComments(const vexhost::Segment& segment, const std::string& layer);
  // A figure as an entity of its own, on a layer, with extended data after its groups.
  void WriteFigure(const Target& to, const FigureRecord& f, const LineAttr& attr,
                   const std::string& layer, const GroupPairs& xdata);
  void WritePolyline(const Target& to, const std::vector<FigureRecord>& figures, bool closed,
                     const LineAttr& attr, const std::string& layer, const GroupPairs& xdata);
  void WriteText(const Target& to, const vexhost::TextComment& text, const std::string& layer,
                 const GroupPairs& xdata);
  // Defines the block that draws a balloon; returns its name.
  std::string DefineBalloonBlock(int elementId, const vexhost::BalloonComment& balloon);
  void WriteInsert(const Target& to, const std::string& block, const std::string& layer,
                   const GroupPairs& xdata);
  void Style(DxfWriter& out, const LineAttr& attr);
  void XData(DxfWriter& out, const GroupPairs& xdata);
  Target Entities() const { return {entities_, format_.modelSpace()}; }

  const vexhost::Drawing& drawing_;
  DxfWriter& entities_;
  DxfWriter& blocks_;
  ExportNotes& notes_;
  OutputFormat& format_;
  int written_ = 0;  // entities of the entities section so far
  std::set<int> lineTypes_;
  bool wroteXData_ = false;
};

// The figures joined end to end in order, all lines (of some length) and arcs (no full
// circles) of one line attribute: true, and whether the chain closes.
bool IsChain(const std::vector<FigureRecord>& figures, const std::vector<LineAttr>& attrs,
             bool& closed);

}  // namespace twinfind::dxf

#endif  // DXF_SEGMENT_ENTITIES_H
