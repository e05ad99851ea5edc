#include "dxf/segment_entities.h"

#include <algorithm>
#include <cmath>
#include <limits>
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

double Chord(const FigureRecord& f) {
  const VexPoint a = StartOf(f), b = EndOf(f);
  return std::hypot(b.x - a.x, b.y - a.y);
}

// Where one figure ends and the next starts are one vertex when they lie within 1e-9 of the
// figures' size, or a few units of the last place of the coordinates: a joint that rounding
// moved apart, never a gap the user drew (far from the origin the coordinates' own size would
// allow gaps wider than the figures).
bool Joined(const FigureRecord& from, const FigureRecord& to) {
  const VexPoint a = EndOf(from), b = StartOf(to);
  const double size = 1 + std::max(Chord(from), Chord(to));
  const double magnitude =
      std::max({std::fabs(a.x), std::fabs(a.y), std::fabs(b.x), std::fabs(b.y)});
  const double tolerance =
      std::max(1e-9 * size, 8 * std::numeric_limits<double>::epsilon() * magnitude);
  return std::fabs(a.x - b.x) <= tolerance && std::fabs(a.y - b.y) <= tolerance;
}

bool SameVertex(const VexPoint& a, const VexPoint& b) { return a.x == b.x && a.y == b.y; }

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
    if (i > 0 && !Joined(figures[i - 1], f)) return false;
    // The polyline's vertices are the figures' starts: one written twice is a vertex a reader
    // drops, with the figure it began.
    if (i > 0 && SameVertex(StartOf(figures[i - 1]), StartOf(f))) return false;
  }
  closed = figures.size() > 1 && Joined(figures.back(), figures.front()) &&
           !SameVertex(StartOf(figures.back()), StartOf(figures.front()));
  return true;
}

int SegmentWriter::Write(const vexhost::Segment& segment, const std::string& layer) {
  const int before = written_;
  if (segment.kind == VEX_SEGMENT_COMMENTS) {
    WriteComments(segment, layer);
  } else {
    WriteFigures(segment, layer);
  }
  return written_ - before;
}

void SegmentWriter::Style(DxfWriter& out, const LineAttr& attr) {
  out.Add(6, format_.LineTypeName(attr.lineType));
  out.Int(62, AciOfHostColor(attr.color));
  lineTypes_.insert(attr.lineType);
}

void SegmentWriter::XData(DxfWriter& out, const GroupPairs& xdata) {
  if (xdata.empty()) return;
  out.Pairs(xdata);
  wroteXData_ = true;
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
    return WriteFigure(Entities(), figures.front(), attrs.front(), layer, xdata);
  bool closed = false;
  if (IsChain(figures, attrs, closed)) {
    return WritePolyline(Entities(), figures, closed, attrs.front(), layer, xdata);
  }
  const std::string block = format_.NewBlockName("TWINFIND_SEGMENT_" + std::to_string(segment.id));
  const std::string owner = format_.BeginBlock(blocks_, block);
  for (size_t i = 0; i < figures.size(); ++i) {
    WriteFigure({blocks_, owner}, figures[i], attrs[i], "0", {});
  }
  format_.EndBlock(blocks_, owner);
  WriteInsert(Entities(), block, layer, xdata);
}

void SegmentWriter::WriteFigure(const Target& to, const FigureRecord& f, const LineAttr& attr,
                                const std::string& layer, const GroupPairs& xdata) {
  DxfWriter& out = to.out;
  // A clockwise arc is written as the counter-clockwise ARC over the same points, marked so
  // that it reads back running the way it did.
  const bool clockwise = f.kind == VEX_FIG_ARC && f.u.arc.direction == VEX_ARC_CW;
  const char* type = f.kind == VEX_FIG_LINE     ? "LINE"
                     : f.kind == VEX_FIG_CIRCLE ? "CIRCLE"
                     : f.kind == VEX_FIG_ARC    ? "ARC"
                                                : "POINT";
  format_.BeginEntity(out, type, to.owner, layer);
  Style(out, attr);
  switch (f.kind) {
    case VEX_FIG_LINE:
      format_.Subclass(out, "AcDbLine");
      out.Point(10, f.u.line.x1, f.u.line.y1);
      out.Point(11, f.u.line.x2, f.u.line.y2);
      break;
    case VEX_FIG_CIRCLE:
      format_.Subclass(out, "AcDbCircle");
      out.Point(10, f.u.circle.cx, f.u.circle.cy);
      out.Real(40, f.u.circle.r);
      break;
    case VEX_FIG_ARC: {
      const FigureArc& a = f.u.arc;
      double start = Degrees(a.sx - a.cx, a.sy - a.cy);
      double end = Degrees(a.ex - a.cx, a.ey - a.cy);
      if (clockwise) std::swap(start, end);
      format_.Subclass(out, "AcDbCircle");
      out.Point(10, a.cx, a.cy);
      out.Real(40, a.r);
      format_.Subclass(out, "AcDbArc");
      out.Real(50, start);
      out.Real(51, IsFullCircleArc(f) ? start + 360 : end);
      break;
    }
    default:
      format_.Subclass(out, "AcDbPoint");
      out.Point(10, f.u.point.x, f.u.point.y);
      break;
  }
  XData(out, clockwise ? JoinXData(ClockwiseXData(), xdata) : xdata);
  if (&out == &entities_) ++written_;
}

void SegmentWriter::WritePolyline(const Target& to, const std::vector<FigureRecord>& figures,
                                  bool closed, const LineAttr& attr, const std::string& layer,
                                  const GroupPairs& xdata) {
  DxfWriter& out = to.out;
  if (&out == &entities_) ++written_;
  std::vector<std::pair<VexPoint, double>> vertices;  // each with the bulge to the next
  for (const FigureRecord& f : figures) {
    vertices.emplace_back(StartOf(f), f.kind == VEX_FIG_ARC ? BulgeOfArc(f.u.arc) : 0.0);
  }
  if (!closed) vertices.emplace_back(EndOf(figures.back()), 0.0);
  if (format_.modern()) {
    // R13 and later have the light polyline, one entity with its vertices.
    format_.BeginEntity(out, "LWPOLYLINE", to.owner, layer);
    Style(out, attr);
    format_.Subclass(out, "AcDbPolyline");
    out.Int(90, static_cast<long long>(vertices.size()));
    out.Int(70, closed ? 1 : 0);
    for (const auto& [p, bulge] : vertices) {
      out.Real(10, p.x);
      out.Real(20, p.y);
      if (bulge != 0) out.Real(42, bulge);
    }
    XData(out, xdata);
    return;
  }
  const std::string handle = format_.BeginEntity(out, "POLYLINE", to.owner, layer);
  Style(out, attr);
  out.Int(66, 1);
  out.Point(10, 0, 0);
  out.Int(70, closed ? 1 : 0);
  XData(out, xdata);
  for (const auto& [p, bulge] : vertices) {
    format_.BeginEntity(out, "VERTEX", handle, layer);
    out.Point(10, p.x, p.y);
    if (bulge != 0) out.Real(42, bulge);
  }
  format_.BeginEntity(out, "SEQEND", handle, layer);
}

void SegmentWriter::WriteText(const Target& to, const vexhost::TextComment& text,
                              const std::string& layer, const GroupPairs& xdata) {
  DxfWriter& out = to.out;
  const NormalTextData& r = text.record;
  format_.BeginEntity(out, "TEXT", to.owner, layer);
  format_.Subclass(out, "AcDbText");
  out.Point(10, r.x, r.y);
  out.Real(40, r.size1);
  out.Text(1, text.text);
  // The host keeps a width per character; DXF a width factor of the height.
  if (r.size1 > 0 && r.size2 > 0) {
    const double factor = r.size2 / (kCharWidthRatio * r.size1);
    if (factor != 1.0) out.Real(41, factor);
  }
  format_.Subclass(out, "AcDbText");
  XData(out, xdata);
  if (&out == &entities_) ++written_;
}

std::string SegmentWriter::DefineBalloonBlock(int elementId,
                                              const vexhost::BalloonComment& balloon) {
  const std::string block = format_.NewBlockName("TWINFIND_BALLOON_" + std::to_string(elementId));
  const vexhost::BalloonShape shape = vexhost::LayoutBalloon(balloon);
  const std::string owner = format_.BeginBlock(blocks_, block);
  // Drawn on layer 0 in BYBLOCK colour: the pieces take the layer and colour of the INSERT.
  format_.BeginEntity(blocks_, "CIRCLE", owner, "0");
  blocks_.Int(62, kAciByBlock);
  format_.Subclass(blocks_, "AcDbCircle");
  blocks_.Point(10, shape.cx, shape.cy);
  blocks_.Real(40, shape.r);
  for (const vexhost::BalloonRow& row : shape.rows) {
    format_.BeginEntity(blocks_, "TEXT", owner, "0");
    blocks_.Int(62, kAciByBlock);
    format_.Subclass(blocks_, "AcDbText");
    const double width = kCharWidthRatio * row.height * static_cast<double>(row.text.size());
    blocks_.Point(10, row.centerX - width / 2, row.centerY - row.height / 2);
    blocks_.Real(40, row.height);
    blocks_.Text(1, row.text);
    blocks_.Int(72, 4);  // middle: centred both ways on the alignment point
    blocks_.Point(11, row.centerX, row.centerY);
    format_.Subclass(blocks_, "AcDbText");
  }
  if (shape.leader) {
    format_.BeginEntity(blocks_, "LINE", owner, "0");
    blocks_.Int(62, kAciByBlock);
    format_.Subclass(blocks_, "AcDbLine");
    blocks_.Point(10, shape.anchorX, shape.anchorY);
    blocks_.Point(11, shape.edgeX, shape.edgeY);
  }
  format_.EndBlock(blocks_, owner);
  return block;
}

void SegmentWriter::WriteInsert(const Target& to, const std::string& block,
                                const std::string& layer, const GroupPairs& xdata) {
  DxfWriter& out = to.out;
  format_.BeginEntity(out, "INSERT", to.owner, layer);
  format_.Subclass(out, "AcDbBlockReference");
  out.Add(2, block);
  out.Point(10, 0, 0);
  XData(out, xdata);
  if (&out == &entities_) ++written_;
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
      return WriteText(Entities(), *text, layer, attributes);
    }
    const auto& balloon = std::get<vexhost::BalloonComment>(*e.comment);
    const std::string block = DefineBalloonBlock(e.id, balloon);
    return WriteInsert(Entities(), block, layer,
                       JoinXData(BalloonXData(RecordOf(balloon)), attributes));
  }
  // Several comments: one block holds them, in order, so that they read back as one segment.
  // The balloons' own blocks are defined first; the block of the segment follows them.
  std::vector<std::string> balloonBlocks;
  for (const vexhost::Element* e : comments) {
    if (const auto* balloon = std::get_if<vexhost::BalloonComment>(&*e->comment)) {
      balloonBlocks.push_back(DefineBalloonBlock(e->id, *balloon));
    }
  }
  const std::string block = format_.NewBlockName("TWINFIND_SEGMENT_" + std::to_string(segment.id));
  const std::string owner = format_.BeginBlock(blocks_, block);
  size_t nextBalloon = 0;
  for (const vexhost::Element* e : comments) {
    if (const auto* text = std::get_if<vexhost::TextComment>(&*e->comment)) {
      WriteText({blocks_, owner}, *text, "0", {});
    } else {
      const auto& balloon = std::get<vexhost::BalloonComment>(*e->comment);
      WriteInsert({blocks_, owner}, balloonBlocks[nextBalloon++], "0",
                  BalloonXData(RecordOf(balloon)));
    }
  }
  format_.EndBlock(blocks_, owner);
  WriteInsert(Entities(), block, layer, attributes);
}

}  // namespace twinfind::dxf
