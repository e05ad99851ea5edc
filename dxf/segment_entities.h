// One host segment as DXF entities, chosen so that reading the file back gives the same
// segment with the same figures in the same order and direction:
//   - one figure: LINE, CIRCLE, POINT or ARC (a clockwise arc as the ARC over the same points,
//     marked clockwise in our extended data);
//   - two or more lines and arcs of one line attribute that join end to end, in order: one
//     POLYLINE whose vertices carry the arcs as bulges (closed when the last figure ends where
//     the first starts);
//   - any other segment of figures: a block of its figures, each as above, and one INSERT of
//     it on the segment's layer;
//   - a text: TEXT; a balloon: an INSERT of a block that draws it (circle, rows, leader),
//     carrying the balloon in our extended data; a segment of several texts and balloons: an
//     INSERT of a block holding them.
// Segment attributes travel in our extended data on the entity that stands for the segment.
#ifndef DXF_SEGMENT_ENTITIES_H
#define DXF_SEGMENT_ENTITIES_H

#include <string>

#include "dxf/dxf_writer.h"
#include "host/drawing.h"

namespace twinfind::dxf {

// What could not be written.
struct ExportNotes {
  int figuresWithoutForm = 0;  // figures of kinds 4 and 5, which DXF has no entity for
};

class SegmentWriter {
 public:
  SegmentWriter(const vexhost::Drawing& drawing, DxfWriter& entities, DxfWriter& blocks,
                ExportNotes& notes)
      : drawing_(drawing), entities_(entities), blocks_(blocks), notes_(notes) {}

  void Write(const vexhost::Segment& segment, const std::string& layer);

 private:
  void WriteFigures(const vexhost::Segment& segment, const std::string& layer);
  void WriteComments(const vexhost::Segment& segment, const std::string& layer);
  // A figure as an entity of its own, on a layer, with extended data after its groups.
  void WriteFigure(DxfWriter& out, const FigureRecord& f, const LineAttr& attr,
                   const std::string& layer, const GroupPairs& xdata);
  void WritePolyline(DxfWriter& out, const std::vector<FigureRecord>& figures, bool closed,
                     const LineAttr& attr, const std::string& layer, const GroupPairs& xdata);
  void WriteText(DxfWriter& out, const vexhost::TextComment& text, const std::string& layer,
                 const GroupPairs& xdata);
  // Defines the block that draws a balloon; returns its name.
  std::string DefineBalloonBlock(int elementId, const vexhost::BalloonComment& balloon);
  void WriteInsert(DxfWriter& out, const std::string& block, const std::string& layer,
                   const GroupPairs& xdata);

  const vexhost::Drawing& drawing_;
  DxfWriter& entities_;
  DxfWriter& blocks_;
  ExportNotes& notes_;
};

// The figures joined end to end in order, all lines (of some length) and arcs (no full
// circles) of one line attribute: true, and whether the chain closes.
bool IsChain(const std::vector<FigureRecord>& figures, const std::vector<LineAttr>& attrs,
             bool& closed);

}  // namespace twinfind::dxf

#endif  // DXF_SEGMENT_ENTITIES_H
