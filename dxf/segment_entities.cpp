#include "dxf/segment_entities.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

#include "dxf/aci_palette.h"
#include "dxf/figure_geometry.h"
#include "dxf/line_type_names.h"
#include "dxf/text_layout.h"
#include "dxf/twinfind_xdata.h"
#include "host/balloon_layout.h"

namespace twinfind::dxf {
namespace {

double Degrees(double x, double y) { return std::atan2(y, x) * 180.0 / std::numbers::pi; }

bool SamePoint(const VexPoint& a, const VexPoint& b) {
  const double scale =
      1 + std::max({std::fabs(a.x), std::fabs(a.y), std::fabs(b.x), std::fabs(b.y)});
  return std::fabs(a.x - b.x) <= 1e-9 * scale && std::fabs(a.y - b.y) <= 1e-9 * scale;
}

bool SameAttr(const LineAttr& a, const LineAttr& b) {
  return a.color == b.color && a.lineType == b.lineType;
}

bool IsFullCircleArc(const FigureRecord& f) {
  return f.kind == VEX_FIG_ARC && f.u.arc.sx == f.u.arc.ex && f.u.arc.sy == f.u.arc.ey;
}

}  // namespace

bool IsChain(const std::vector<FigureRecord>& figures, const std::vector<LineAttr>& attrs,
             bool& closed) {
  closed = false;
  if (figures.empty()) return false;
  for (size_t i = 0; i < figures.size(); ++i) {
    const FigureRecord& f = figures[i];
    if (f.kind != VEX_FIG_LINE && f.kind != VEX_FIG_ARC) return false;
    if (IsFullCircleArc(f)) return false;
    // A line of no length would be a repeated vertex, which a reader drops.
    if (f.kind == VEX_FIG_LINE && f.u.line.x1 == f.u.line.x2 && f.u.line.y1 == f.u.line.y2) {
      return false;
    }
    if (f.kind == VEX_FIG_ARC && std::fabs(BulgeOfArc(f.u.arc)) < 1e-9) return false;
    if (!SameAttr(attrs[i], attrs[0])) return false;
    if (i > 0 && !SamePoint(EndOf(figures[i - 1]), StartOf(f))) return false;
  }
  closed = figures.size() > 1 && SamePoint(EndOf(figures.back()), StartOf(figures.front()));
  return true;
}

void SegmentWriter::Write(const vexhost::Segment& segment, const std::string& layer) {
  if (segment.kind == VEX_SEGMENT_COMMENTS) {
    WriteComments(segment, layer);
  } else {
    WriteFigures(segment, layer);
  }
}

void SegmentWriter::WriteFigures(const vexhost::Segment& segment, const std::string& layer) {
  std::vector<FigureRecord> figures;
  std::vector<LineAttr> attrs;
  for (const int id : segment.elements) {
    const vexhost::Element* e = drawing_.FindElement(id);
    if (!e || e->comment) continue;
    if (e->figure.kind == VEX_FIG_KIND4 || e->figure.kind == VEX_FIG_KIND5) {
      ++notes_.figuresWithoutForm;
      continue;
    }
    figures.push_back(e->figure);
    attrs.push_back(e->lineAttr.value_or(LineAttr{}));
  }
  if (figures.empty()) return;
  const GroupPairs xdata = SegmentXData(segment.attributes);
  if (figures.size() == 1)
    return WriteFigure(entities_, figures.front(), attrs.front(), layer, xdata);
  bool closed = false;
  if (IsChain(figures, attrs, closed)) {
    return WritePolyline(entities_, figures, closed, attrs.front(), layer, xdata);
  }
  const std::string block = "TWINFIND_SEGMENT_" + std::to_string(segment.id);
  blocks_.Add(0, "BLOCK");
  blocks_.Add(8, "0");
  blocks_.Add(2, block);
  blocks_.Int(70, 0);
  blocks_.Point(10, 0, 0);
  blocks_.Add(3, block);
  for (size_t i = 0; i < figures.size(); ++i) WriteFigure(blocks_, figures[i], attrs[i], "0", {});
  blocks_.Add(0, "ENDBLK");
  blocks_.Add(8, "0");
  WriteInsert(entities_, block, layer, xdata);
}

void SegmentWriter::WriteFigure(DxfWriter& out, const FigureRecord& f, const LineAttr& attr,
                                const std::string& layer, const GroupPairs& xdata) {
  // A clockwise arc is written as the counter-clockwise ARC over the same points, marked so
  // that it reads back running the way it did.
  const bool clockwise = f.kind == VEX_FIG_ARC && f.u.arc.direction == VEX_ARC_CW;
  const char* type = f.kind == VEX_FIG_LINE     ? "LINE"
                     : f.kind == VEX_FIG_CIRCLE ? "CIRCLE"
                     : f.kind == VEX_FIG_ARC    ? "ARC"
                                                : "POINT";
  out.Add(0, type);
  out.Add(8, layer);
  out.Add(6, DxfNameOfHostLineType(attr.lineType));
  out.Int(62, AciOfHostColor(attr.color));
  switch (f.kind) {
    case VEX_FIG_LINE:
      out.Point(10, f.u.line.x1, f.u.line.y1);
      out.Point(11, f.u.line.x2, f.u.line.y2);
      break;
    case VEX_FIG_CIRCLE:
      out.Point(10, f.u.circle.cx, f.u.circle.cy);
      out.Real(40, f.u.circle.r);
      break;
    case VEX_FIG_ARC: {
      const FigureArc& a = f.u.arc;
      double start = Degrees(a.sx - a.cx, a.sy - a.cy);
      double end = Degrees(a.ex - a.cx, a.ey - a.cy);
      if (clockwise) std::swap(start, end);
      out.Point(10, a.cx, a.cy);
      out.Real(40, a.r);
      out.Real(50, start);
      out.Real(51, IsFullCircleArc(f) ? start + 360 : end);
      break;
    }
    default:
      out.Point(10, f.u.point.x, f.u.point.y);
      break;
  }
  out.Pairs(clockwise ? JoinXData(ClockwiseXData(), xdata) : xdata);
}

void SegmentWriter::WritePolyline(DxfWriter& out, const std::vector<FigureRecord>& figures,
                                  bool closed, const LineAttr& attr, const std::string& layer,
                                  const GroupPairs& xdata) {
  out.Add(0, "POLYLINE");
  out.Add(8, layer);
  out.Add(6, DxfNameOfHostLineType(attr.lineType));
  out.Int(62, AciOfHostColor(attr.color));
  out.Int(66, 1);
  out.Point(10, 0, 0);
  out.Int(70, closed ? 1 : 0);
  out.Pairs(xdata);
  auto vertex = [&](const VexPoint& p, double bulge) {
    out.Add(0, "VERTEX");
    out.Add(8, layer);
    out.Point(10, p.x, p.y);
    if (bulge != 0) out.Real(42, bulge);
  };
  for (const FigureRecord& f : figures) {
    vertex(StartOf(f), f.kind == VEX_FIG_ARC ? BulgeOfArc(f.u.arc) : 0.0);
  }
  if (!closed) vertex(EndOf(figures.back()), 0.0);
  out.Add(0, "SEQEND");
  out.Add(8, layer);
}

void SegmentWriter::WriteText(DxfWriter& out, const vexhost::TextComment& text,
                              const std::string& layer, const GroupPairs& xdata) {
  const NormalTextData& r = text.record;
  out.Add(0, "TEXT");
  out.Add(8, layer);
  out.Point(10, r.x, r.y);
  out.Real(40, r.size1);
  out.Text(1, text.text);
  // The host keeps a width per character; DXF a width factor of the height.
  if (r.size1 > 0 && r.size2 > 0) {
    const double factor = r.size2 / (kCharWidthRatio * r.size1);
    if (factor != 1.0) out.Real(41, factor);
  }
  out.Pairs(xdata);
}

std::string SegmentWriter::DefineBalloonBlock(int elementId,
                                              const vexhost::BalloonComment& balloon) {
  const std::string block = "TWINFIND_BALLOON_" + std::to_string(elementId);
  const vexhost::BalloonShape shape = vexhost::LayoutBalloon(balloon);
  blocks_.Add(0, "BLOCK");
  blocks_.Add(8, "0");
  blocks_.Add(2, block);
  blocks_.Int(70, 0);
  blocks_.Point(10, 0, 0);
  blocks_.Add(3, block);
  // Drawn on layer 0 in BYBLOCK colour: the pieces take the layer and colour of the INSERT.
  blocks_.Add(0, "CIRCLE");
  blocks_.Add(8, "0");
  blocks_.Int(62, kAciByBlock);
  blocks_.Point(10, shape.cx, shape.cy);
  blocks_.Real(40, shape.r);
  for (const vexhost::BalloonRow& row : shape.rows) {
    blocks_.Add(0, "TEXT");
    blocks_.Add(8, "0");
    blocks_.Int(62, kAciByBlock);
    const double width = kCharWidthRatio * row.height * static_cast<double>(row.text.size());
    blocks_.Point(10, row.centerX - width / 2, row.centerY - row.height / 2);
    blocks_.Real(40, row.height);
    blocks_.Text(1, row.text);
    blocks_.Int(72, 4);  // middle: centred both ways on the alignment point
    blocks_.Point(11, row.centerX, row.centerY);
  }
  if (shape.leader) {
    blocks_.Add(0, "LINE");
    blocks_.Add(8, "0");
    blocks_.Int(62, kAciByBlock);
    blocks_.Point(10, shape.anchorX, shape.anchorY);
    blocks_.Point(11, shape.edgeX, shape.edgeY);
  }
  blocks_.Add(0, "ENDBLK");
  blocks_.Add(8, "0");
  return block;
}

void SegmentWriter::WriteInsert(DxfWriter& out, const std::string& block, const std::string& layer,
                                const GroupPairs& xdata) {
  out.Add(0, "INSERT");
  out.Add(8, layer);
  out.Add(2, block);
  out.Point(10, 0, 0);
  out.Pairs(xdata);
}

void SegmentWriter::WriteComments(const vexhost::Segment& segment, const std::string& layer) {
  std::vector<const vexhost::Element*> comments;
  for (const int id : segment.elements) {
    const vexhost::Element* e = drawing_.FindElement(id);
    if (e && e->comment) comments.push_back(e);
  }
  if (comments.empty()) return;
  const GroupPairs attributes = SegmentXData(segment.attributes);
  if (comments.size() == 1) {
    const vexhost::Element& e = *comments.front();
    if (const auto* text = std::get_if<vexhost::TextComment>(&*e.comment)) {
      return WriteText(entities_, *text, layer, attributes);
    }
    const auto& balloon = std::get<vexhost::BalloonComment>(*e.comment);
    const std::string block = DefineBalloonBlock(e.id, balloon);
    return WriteInsert(entities_, block, layer,
                       JoinXData(BalloonXData(RecordOf(balloon)), attributes));
  }
  // Several comments: one block holds them, in order, so that they read back as one segment.
  DxfWriter inside;
  for (const vexhost::Element* e : comments) {
    if (const auto* text = std::get_if<vexhost::TextComment>(&*e->comment)) {
      WriteText(inside, *text, "0", {});
    } else {
      const auto& balloon = std::get<vexhost::BalloonComment>(*e->comment);
      WriteInsert(inside, DefineBalloonBlock(e->id, balloon), "0", BalloonXData(RecordOf(balloon)));
    }
  }
  const std::string block = "TWINFIND_SEGMENT_" + std::to_string(segment.id);
  blocks_.Add(0, "BLOCK");
  blocks_.Add(8, "0");
  blocks_.Add(2, block);
  blocks_.Int(70, 0);
  blocks_.Point(10, 0, 0);
  blocks_.Add(3, block);
  blocks_.Append(inside);
  blocks_.Add(0, "ENDBLK");
  blocks_.Add(8, "0");
  WriteInsert(entities_, block, layer, attributes);
}

}  // namespace twinfind::dxf
