#include "dxf/entity_adapter.h"

#include <cmath>
#include <cstdlib>
#include <utility>

#include "common/utf.h"
#include "dxf/line_type_names.h"
#include "dxf/text_layout.h"
#include "dxf/twinfind_xdata.h"

namespace twinfind::dxf {
namespace {

// POLYLINE flags: 8 a 3D polyline, 16 a polygon mesh, 64 a polyface mesh.
constexpr int kPolyline3dFlags = 8 | 16 | 64;
// VERTEX flag 16: a control point of a spline frame, which is not drawn.
constexpr int kFrameControlPoint = 16;
// ATTRIB flag 1: the attribute is invisible.
constexpr int kInvisibleAttribute = 1;

std::string TypeOf(std::span<const Group> groups) {
  return groups.empty() ? std::string() : UpperCase(Trimmed(groups.front().value));
}

}  // namespace

void EntityAdapter::SetTarget(Container* target) {
  FinishPolyline();
  target_ = target;
  openInsert_.reset();
}

const Group* EntityAdapter::Find(int code) const {
  for (size_t i = 1; i < groups_.size(); ++i) {
    if (groups_[i].code == code) return &groups_[i];
  }
  return nullptr;
}

int EntityAdapter::IntOf(int code, int fallback) const {
  const Group* g = Find(code);
  if (!g) return fallback;
  const std::string text(Trimmed(g->value));
  return static_cast<int>(std::strtol(text.c_str(), nullptr, 10));
}

std::optional<double> EntityAdapter::PlaneSide() {
  const double* d = getExtrusion()->getDirection();
  const double length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
  if (!(length > 0) || !std::isfinite(length)) return 1.0;  // no usable extrusion: from above
  if (std::fabs(d[0] / length) > 1e-9 || std::fabs(d[1] / length) > 1e-9) return std::nullopt;
  return d[2] > 0 ? 1.0 : -1.0;
}

std::string EntityAdapter::Name(const std::string& raw) const {
  return ToUtf8(DecodeValue(Trimmed(raw), encoding_));
}

Style EntityAdapter::CurrentStyle() {
  const DL_Attributes& a = getAttributes();
  Style style;
  style.layer = a.getLayer().empty() ? "0" : Name(a.getLayer());
  style.aci = a.getColor();
  style.trueColor = a.getColor24();
  style.lineType = a.getLinetype();
  return style;
}

void EntityAdapter::NotHeld(const std::string& key) {
  if (target_) ++target_->notHeld[key];
}

Item EntityAdapter::NewItem(Item::Kind kind, const std::string& type) {
  Item item;
  item.kind = kind;
  item.type = type;
  item.style = CurrentStyle();
  item.segmentAttributes = ParseSegmentXData(groups_).value_or(0);
  if (target_ == &model_.modelSpace) item.source = source_;
  return item;
}

void EntityAdapter::AddFigures(Item item, std::vector<FigureRecord> figures) {
  if (!target_) return;
  openInsert_.reset();
  for (const FigureRecord& f : figures) {
    if (!UsableFigure(f)) return NotHeld(item.type + " (invalid geometry)");
  }
  if (figures.empty()) return NotHeld(item.type + " (fewer than two distinct vertices)");
  item.figures = std::move(figures);
  target_->items.push_back(std::move(item));
}

void EntityAdapter::AddFigure(const std::string& type, const FigureRecord& figure) {
  AddFigures(NewItem(Item::Kind::kFigures, type), {figure});
}

void EntityAdapter::addLayer(const DL_LayerData& data) {
  LayerRecord layer;
  layer.name = Name(data.name);
  const DL_Attributes& a = getAttributes();
  layer.aci = std::abs(a.getColor());
  if (layer.aci < 1 || layer.aci > 255) layer.aci = 7;
  layer.trueColor = a.getColor24();
  const std::string lineType = UpperCase(a.getLinetype());
  layer.lineType =
      (lineType == "BYLAYER" || lineType == "BYBLOCK") ? "CONTINUOUS" : a.getLinetype();
  // Off: a negative colour; frozen: flag 1.
  layer.hidden = a.getColor() < 0 || data.off || (data.flags & 1) != 0;
  model_.layers.push_back(std::move(layer));
}

void EntityAdapter::addBlock(const DL_BlockData& data) {
  if (!target_) return;
  target_->baseX = Usable(data.bpx) ? data.bpx : 0;
  target_->baseY = Usable(data.bpy) ? data.bpy : 0;
}

void EntityAdapter::addPoint(const DL_PointData& d) { AddFigure("POINT", MakePoint(d.x, d.y)); }

void EntityAdapter::addLine(const DL_LineData& d) {
  AddFigure("LINE", MakeLine(d.x1, d.y1, d.x2, d.y2));
}

void EntityAdapter::addArc(const DL_ArcData& d) {
  const auto side = PlaneSide();
  if (!side) return NotHeld("ARC (not in the drawing plane)");
  FigureRecord arc = MakeArc(d.cx, d.cy, d.radius, d.angle1, d.angle2);
  if (*side < 0) {
    // Seen from below, the arc is the mirror image of the one in its plane: x changes sign
    // and it runs clockwise, as the host's own mirror makes it.
    arc.u.arc.cx = -arc.u.arc.cx;
    arc.u.arc.sx = -arc.u.arc.sx;
    arc.u.arc.ex = -arc.u.arc.ex;
    arc.u.arc.direction = VEX_ARC_CW;
  }
  if (HasClockwiseXData(groups_)) {
    // Written by us for a host arc that runs the other way: same points, ends swapped.
    std::swap(arc.u.arc.sx, arc.u.arc.ex);
    std::swap(arc.u.arc.sy, arc.u.arc.ey);
    arc.u.arc.direction = arc.u.arc.direction == VEX_ARC_CW ? VEX_ARC_CCW : VEX_ARC_CW;
  }
  AddFigure("ARC", arc);
}

void EntityAdapter::addCircle(const DL_CircleData& d) {
  const auto side = PlaneSide();
  if (!side) return NotHeld("CIRCLE (not in the drawing plane)");
  AddFigure("CIRCLE", MakeCircle(*side * d.cx, d.cy, d.radius));
}

void EntityAdapter::addPolyline(const DL_PolylineData& data) {
  FinishPolyline();
  openInsert_.reset();
  Polyline p;
  p.open = true;
  p.item = NewItem(Item::Kind::kFigures, TypeOf(groups_));
  p.closed = (data.flags & 1) != 0;
  const auto side = PlaneSide();
  if (p.item.type == "POLYLINE" && (data.flags & kPolyline3dFlags) != 0) {
    p.held = false;
    p.whyNot = "3D";
  } else if (!side) {
    p.held = false;
    p.whyNot = "not in the drawing plane";
  } else {
    p.side = *side;
  }
  polyline_ = std::move(p);
}

void EntityAdapter::addVertex(const DL_VertexData& d) {
  if (!polyline_.open) {
    if (TypeOf(groups_) == "VERTEX") NotHeld("VERTEX (outside a polyline)");
    return;
  }
  if (TypeOf(groups_) == "VERTEX" && (IntOf(70, 0) & kFrameControlPoint) != 0) return;
  polyline_.vertices.push_back({polyline_.side * d.x, d.y, polyline_.side * d.bulge});
}

void EntityAdapter::FinishPolyline() {
  if (!polyline_.open) return;
  Polyline p = std::move(polyline_);
  polyline_ = Polyline{};
  if (!target_) return;
  if (!p.held) return NotHeld(p.item.type + " (" + p.whyNot + ")");
  for (const Vertex& v : p.vertices) {
    if (!Usable(v.x) || !Usable(v.y) || !std::isfinite(v.bulge)) {
      return NotHeld(p.item.type + " (invalid geometry)");
    }
  }
  AddFigures(std::move(p.item), PolylineFigures(p.vertices, p.closed));
}

void EntityAdapter::endSequence() {
  FinishPolyline();
  openInsert_.reset();
}

void EntityAdapter::addInsert(const DL_InsertData& d) {
  FinishPolyline();
  openInsert_.reset();
  if (!target_) return;
  const auto side = PlaneSide();
  if (!side) return NotHeld("INSERT (not in the drawing plane)");
  Item item = NewItem(Item::Kind::kInsert, "INSERT");
  if (auto balloon = ParseBalloonXData(groups_, encoding_)) {
    item.kind = Item::Kind::kBalloon;
    item.balloon = std::move(*balloon);
    target_->items.push_back(std::move(item));
    return;
  }
  InsertRecord& r = item.insert;
  r.block = d.name;
  r.x = d.ipx;
  r.y = d.ipy;
  r.scaleX = d.sx;
  r.scaleY = d.sy;
  r.degrees = d.angle;
  r.seenFromBelow = *side < 0;
  r.columns = d.cols;
  r.rows = d.rows;
  r.columnSpacing = d.colSp;
  r.rowSpacing = d.rowSp;
  const bool usable = Usable(r.x) && Usable(r.y) && Usable(r.scaleX) && Usable(r.scaleY) &&
                      Usable(r.degrees) && Usable(r.columnSpacing) && Usable(r.rowSpacing) &&
                      r.scaleX != 0 && r.scaleY != 0;
  if (!usable) return NotHeld("INSERT (invalid geometry)");
  item.kind = Item::Kind::kInsert;
  target_->items.push_back(std::move(item));
  if (IntOf(66, 0) != 0) openInsert_ = target_->items.size() - 1;
}

std::optional<TextLine> EntityAdapter::TextOf(const std::string& type, const DL_TextData& d) {
  const auto side = PlaneSide();
  if (!side) {
    NotHeld(type + " (not in the drawing plane)");
    return std::nullopt;
  }
  TextEntity t;
  const Group* value = Find(1);  // whole, where dxflib keeps at most one line's bytes
  t.text = PlainText(
      DecodeValue(value ? std::string_view(value->value) : std::string_view(), encoding_));
  t.x = *side * d.ipx;
  t.y = d.ipy;
  t.hasAlignPoint = std::isfinite(d.apx) && std::isfinite(d.apy) && Find(11) != nullptr;
  t.alignX = t.hasAlignPoint ? *side * d.apx : 0;
  t.alignY = t.hasAlignPoint ? d.apy : 0;
  t.height = d.height;
  t.widthFactor = d.xScaleFactor;
  t.horizontal = d.hJustification;
  t.vertical = d.vJustification;
  if (IsBlank(t.text)) {
    NotHeld(type + " (empty)");
    return std::nullopt;
  }
  const TextLine line = PlaceText(t);
  if (!Usable(line.x) || !Usable(line.y) || !Usable(line.height) || !(line.height > 0) ||
      !Usable(line.charWidth) || !(line.charWidth > 0)) {
    NotHeld(type + " (invalid geometry)");
    return std::nullopt;
  }
  return line;
}

void EntityAdapter::addText(const DL_TextData& d) {
  FinishPolyline();
  openInsert_.reset();
  if (!target_) return;
  auto line = TextOf("TEXT", d);
  if (!line) return;
  Item item = NewItem(Item::Kind::kTexts, "TEXT");
  item.texts.push_back(std::move(*line));
  target_->items.push_back(std::move(item));
}

void EntityAdapter::addMText(const DL_MTextData& d) {
  FinishPolyline();
  openInsert_.reset();
  if (!target_) return;
  // The text comes in pieces of 250 characters (group 3) before its last piece (group 1).
  std::string raw;
  for (size_t i = 1; i < groups_.size(); ++i) {
    if (groups_[i].code == 3) raw += groups_[i].value;
  }
  raw += d.text;
  const auto lines = PlainMTextLines(DecodeValue(raw, encoding_));
  Item item = NewItem(Item::Kind::kTexts, "MTEXT");
  item.texts = PlaceMText(lines, d.ipx, d.ipy, d.height, d.attachmentPoint, d.lineSpacingFactor);
  if (item.texts.empty()) return NotHeld("MTEXT (empty)");
  for (const TextLine& t : item.texts) {
    if (!Usable(t.x) || !Usable(t.y) || !Usable(t.height) || !(t.height > 0)) {
      return NotHeld("MTEXT (invalid geometry)");
    }
  }
  target_->items.push_back(std::move(item));
}

void EntityAdapter::addAttribute(const DL_AttributeData& d) {
  if (!target_) return;
  if ((IntOf(70, 0) & kInvisibleAttribute) != 0) return;
  auto line = TextOf("ATTRIB", d);
  if (!line) return;
  if (openInsert_ && *openInsert_ < target_->items.size()) {
    target_->items[*openInsert_].insert.attributes.push_back(std::move(*line));
    return;
  }
  // An attribute without its block reference stands as a text of its own.
  Item item = NewItem(Item::Kind::kTexts, "ATTRIB");
  item.texts.push_back(std::move(*line));
  target_->items.push_back(std::move(item));
}

}  // namespace twinfind::dxf
