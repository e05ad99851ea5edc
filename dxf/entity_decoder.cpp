#include "dxf/entity_decoder.h"

#include <cmath>
#include <cstdlib>
#include <utility>

#include "common/utf.h"
#include "dxf/line_type_names.h"
#include "dxf/number_text.h"
#include "dxf/twinfind_xdata.h"

namespace twinfind::dxf {
namespace {

// POLYLINE flags: 8 a 3D polyline, 16 a polygon mesh, 64 a polyface mesh.
constexpr int kPolyline3dFlags = 8 | 16 | 64;
// VERTEX flags: 16 a control point of a spline frame, which is not drawn; 128 without 64 a
// face of a polyface mesh, which is no point.
constexpr int kFrameControlPoint = 16;
constexpr int kFaceRecord = 128, kMeshVertex = 64;

// The entity types decoded here, as lasting names for the items.
constexpr std::string_view kTypeNames[] = {"LINE",     "ARC",    "CIRCLE", "POINT",  "LWPOLYLINE",
                                           "POLYLINE", "INSERT", "TEXT",   "MTEXT",  "ATTRIB",
                                           "VERTEX",   "SEQEND", "SPLINE", "ELLIPSE"};

std::string_view LastingName(std::string_view type) {
  for (const std::string_view name : kTypeNames) {
    if (name == type) return name;
  }
  return "?";
}

}  // namespace

void EntityDecoder::SetTarget(Container* target) {
  FinishPolyline();
  target_ = target;
  openInsert_.reset();
  refusedReference_ = false;
}

void EntityDecoder::EndParts(std::string_view type) {
  if (type != "VERTEX") FinishPolyline();
  if (type != "ATTRIB") {
    openInsert_.reset();
    refusedReference_ = false;
  }
}

double EntityDecoder::Real(int code, double fallback) {
  const Group* g = fields_.Last(code);
  if (!g) return fallback;
  const RealText read = ReadReal(g->value);
  if (!read.ok()) {
    if (fault_.empty()) fault_ = kNoNumber;
    return 0;
  }
  return read.value;
}

double EntityDecoder::Required(int code) {
  if (!fields_.Last(code) && fault_.empty()) fault_ = kGroupMissing;
  return Real(code, 0);
}

int EntityDecoder::Int(int code, int fallback) const {
  const Group* g = fields_.Last(code);
  return g ? ReadInt(g->value, fallback) : fallback;
}

std::string_view EntityDecoder::Value(int code) const {
  const Group* g = fields_.Last(code);
  return g ? Trimmed(g->value) : std::string_view();
}

std::optional<double> EntityDecoder::PlaneSide() {
  const double d[3] = {Real(210, 0), Real(220, 0), Real(230, 1)};
  const double length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
  if (!(length > 0) || !std::isfinite(length)) return 1.0;  // no usable extrusion: from above
  if (std::fabs(d[0] / length) > 1e-9 || std::fabs(d[1] / length) > 1e-9) return std::nullopt;
  return d[2] > 0 ? 1.0 : -1.0;
}

std::string_view EntityDecoder::LayerName(std::string_view raw) {
  const auto it = layerNames_.find(raw);
  if (it != layerNames_.end()) return it->second;
  const std::string_view name = model_.names.Intern(ToUtf8(DecodeValue(raw, encoding_)));
  layerNames_.emplace(std::string(raw), name);
  return name;
}

Style EntityDecoder::CurrentStyle() {
  Style style;
  const std::string_view layer = Value(8);
  style.layer = layer.empty() ? model_.names.Intern("0") : LayerName(layer);
  style.aci = Int(62, 256);
  style.trueColor = Int(420, -1);
  const Group* lineType = fields_.Last(6);
  style.lineType = model_.names.Intern(lineType ? Trimmed(lineType->value) : "BYLAYER");
  return style;
}

void EntityDecoder::NotHeld(std::string_view type, std::string_view why) {
  if (target_) ++target_->notHeld[std::string(type) + " (" + std::string(why) + ")"];
}

Item EntityDecoder::NewItem(Item::Kind kind, std::string_view type) {
  Item item;
  item.kind = kind;
  item.type = type;
  item.style = CurrentStyle();
  item.segmentAttributes = ParseSegmentXData(groups_).value_or(0);
  if (target_ == &model_.modelSpace) item.source = source_;
  return item;
}

void EntityDecoder::AddFigures(Item item, const std::vector<FigureRecord>& figures) {
  if (!target_) return;
  for (const FigureRecord& f : figures) {
    if (!UsableFigure(f)) return NotHeld(item.type, "invalid geometry");
  }
  if (figures.empty()) return NotHeld(item.type, "fewer than two distinct vertices");
  item.first = static_cast<uint32_t>(target_->figures.size());
  item.count = static_cast<uint32_t>(figures.size());
  target_->figures.insert(target_->figures.end(), figures.begin(), figures.end());
  target_->items.push_back(std::move(item));
}

void EntityDecoder::AddTexts(Item item, std::vector<TextLine> lines) {
  item.first = static_cast<uint32_t>(target_->texts.size());
  item.count = static_cast<uint32_t>(lines.size());
  for (TextLine& line : lines) target_->texts.push_back(std::move(line));
  target_->items.push_back(std::move(item));
}

void EntityDecoder::Decode(std::string_view type, std::span<const Group> groups, int source) {
  type = LastingName(type);
  groups_ = groups;
  source_ = source;
  fault_.clear();
  fields_.Index(groups, type == "MTEXT" || type == "ATTRIB");
  if (type == "LINE") return Line();
  if (type == "POINT") return Point();
  if (type == "CIRCLE") return Circle();
  if (type == "ARC") return Arc();
  if (type == "LWPOLYLINE") return LightPolyline();
  if (type == "POLYLINE") return Polyline(type);
  if (type == "VERTEX") return Vertex();
  if (type == "SEQEND") return FinishPolyline();
  if (type == "INSERT") return Insert();
  if (type == "TEXT" || type == "ATTRIB") return Text(type);
  if (type == "MTEXT") return MText();
  if (type == "SPLINE") return Spline();
  if (type == "ELLIPSE") return Ellipse();
}

void EntityDecoder::DecodeLayer(std::span<const Group> groups) {
  groups_ = groups;
  fields_.Index(groups, false);
  const std::string_view raw = Value(2);
  if (raw.empty()) return;
  LayerRecord layer;
  layer.name = ToUtf8(DecodeValue(raw, encoding_));
  const int color = Int(62, 256);
  layer.aci = std::abs(color);
  if (layer.aci < 1 || layer.aci > 255) layer.aci = 7;
  layer.trueColor = Int(420, -1);
  const std::string_view lineType = fields_.Last(6) ? Value(6) : "BYLAYER";
  const std::string upper = UpperCase(lineType);
  layer.lineType = (upper == "BYLAYER" || upper == "BYBLOCK") ? "CONTINUOUS" : lineType;
  // Off: a negative colour; frozen: flag 1.
  layer.hidden = color < 0 || (Int(70, 0) & 1) != 0;
  model_.layers.push_back(std::move(layer));
}

void EntityDecoder::DecodeBlock(std::span<const Group> groups) {
  if (!target_) return;
  groups_ = groups;
  fields_.Index(groups, false);
  // A base point that is no usable number is taken as the origin: the block still draws.
  const double x = Real(10, 0), y = Real(20, 0);
  target_->baseX = Usable(x) ? x : 0;
  target_->baseY = Usable(y) ? y : 0;
}

void EntityDecoder::Line() {
  const double x1 = Required(10), y1 = Required(20), x2 = Required(11), y2 = Required(21);
  if (Faulty()) return NotHeld("LINE", fault_);
  AddFigures(NewItem(Item::Kind::kFigures, "LINE"), {MakeLine(x1, y1, x2, y2)});
}

void EntityDecoder::Point() {
  const double x = Required(10), y = Required(20);
  if (Faulty()) return NotHeld("POINT", fault_);
  AddFigures(NewItem(Item::Kind::kFigures, "POINT"), {MakePoint(x, y)});
}

void EntityDecoder::Circle() {
  const double x = Required(10), y = Required(20), r = Required(40);
  const auto side = PlaneSide();
  if (Faulty()) return NotHeld("CIRCLE", fault_);
  if (!side) return NotHeld("CIRCLE", "not in the drawing plane");
  AddFigures(NewItem(Item::Kind::kFigures, "CIRCLE"), {MakeCircle(*side * x, y, r)});
}

void EntityDecoder::Arc() {
  const double x = Required(10), y = Required(20), r = Required(40);
  const double start = Required(50), end = Required(51);
  const auto side = PlaneSide();
  if (Faulty()) return NotHeld("ARC", fault_);
  if (!side) return NotHeld("ARC", "not in the drawing plane");
  FigureRecord arc = MakeArc(x, y, r, start, end);
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
  AddFigures(NewItem(Item::Kind::kFigures, "ARC"), {arc});
}

void EntityDecoder::LightPolyline() {
  if (!target_) return;
  const bool closed = (Int(70, 0) & 1) != 0;
  const auto side = PlaneSide();
  // The vertices in order: each group 10 begins one, the 20 and 42 after it belong to it.
  std::vector<dxf::Vertex> vertices;
  bool hasY = true;
  for (size_t i = 1; i < groups_.size(); ++i) {
    const Group& g = groups_[i];
    if (g.code != 10 && g.code != 20 && g.code != 42) continue;
    if (g.code == 10) {
      if (!hasY && fault_.empty()) fault_ = kGroupMissing;
      vertices.emplace_back();
      hasY = false;
    }
    if (vertices.empty()) continue;  // before the first vertex: belongs to none
    const RealText read = ReadReal(g.value);
    if (!read.ok() && fault_.empty()) fault_ = kNoNumber;
    dxf::Vertex& v = vertices.back();
    if (g.code == 10) v.x = read.value;
    if (g.code == 20) {
      v.y = read.value;
      hasY = true;
    }
    if (g.code == 42) v.bulge = read.value;
  }
  if (!hasY && fault_.empty()) fault_ = kGroupMissing;
  if (Faulty()) return NotHeld("LWPOLYLINE", fault_);
  if (!side) return NotHeld("LWPOLYLINE", "not in the drawing plane");
  for (dxf::Vertex& v : vertices) {
    if (!Usable(v.x) || !Usable(v.y) || !std::isfinite(v.bulge)) {
      return NotHeld("LWPOLYLINE", "invalid geometry");
    }
    v.x *= *side;
    v.bulge *= *side;
  }
  AddFigures(NewItem(Item::Kind::kFigures, "LWPOLYLINE"), PolylineFigures(vertices, closed));
}

void EntityDecoder::Polyline(std::string_view type) {
  FinishPolyline();
  OpenPolyline p;
  p.open = true;
  p.item = NewItem(Item::Kind::kFigures, type);
  const int flags = Int(70, 0);
  p.closed = (flags & 1) != 0;
  const auto side = PlaneSide();
  if (Faulty()) {
    p.whyNot = fault_;
  } else if ((flags & kPolyline3dFlags) != 0) {
    p.whyNot = "3D";
  } else if (!side) {
    p.whyNot = "not in the drawing plane";
  } else {
    p.side = *side;
  }
  polyline_ = std::move(p);
}

void EntityDecoder::Vertex() {
  if (!polyline_.open) return NotHeld("VERTEX", "outside a polyline");
  const int flags = Int(70, 0);
  if ((flags & kFaceRecord) != 0 && (flags & kMeshVertex) == 0) return;
  if ((flags & kFrameControlPoint) != 0) return;
  const double x = Required(10), y = Required(20), bulge = Real(42, 0);
  if (Faulty()) {
    if (polyline_.whyNot.empty()) polyline_.whyNot = fault_;
    return;
  }
  polyline_.vertices.push_back({polyline_.side * x, y, polyline_.side * bulge});
}

void EntityDecoder::FinishPolyline() {
  if (!polyline_.open) return;
  OpenPolyline p = std::move(polyline_);
  polyline_ = OpenPolyline{};
  if (!target_) return;
  if (!p.whyNot.empty()) return NotHeld(p.item.type, p.whyNot);
  for (const dxf::Vertex& v : p.vertices) {
    if (!Usable(v.x) || !Usable(v.y) || !std::isfinite(v.bulge)) {
      return NotHeld(p.item.type, "invalid geometry");
    }
  }
  AddFigures(std::move(p.item), PolylineFigures(p.vertices, p.closed));
}

void EntityDecoder::Insert() {
  if (!target_) return;
  refusedReference_ = true;  // until it is taken: its attributes go with it
  InsertRecord r;
  r.block = std::string(Value(2));
  r.x = Required(10);
  r.y = Required(20);
  r.scaleX = Real(41, 1);
  r.scaleY = Real(42, 1);
  r.degrees = Real(50, 0);
  r.columns = Int(70, 1);
  r.rows = Int(71, 1);
  r.columnSpacing = Real(44, 0);
  r.rowSpacing = Real(45, 0);
  const auto side = PlaneSide();
  if (r.block.empty() && fault_.empty()) fault_ = kGroupMissing;
  if (Faulty()) return NotHeld("INSERT", fault_);
  if (!side) return NotHeld("INSERT", "not in the drawing plane");
  Item item = NewItem(Item::Kind::kInsert, "INSERT");
  if (auto balloon = ParseBalloonXData(groups_, encoding_)) {
    item.kind = Item::Kind::kBalloon;
    item.first = static_cast<uint32_t>(target_->balloons.size());
    target_->balloons.push_back(std::move(*balloon));
    target_->items.push_back(std::move(item));
    refusedReference_ = false;
    return;
  }
  r.seenFromBelow = *side < 0;
  const bool usable = Usable(r.x) && Usable(r.y) && Usable(r.scaleX) && Usable(r.scaleY) &&
                      Usable(r.degrees) && Usable(r.columnSpacing) && Usable(r.rowSpacing) &&
                      r.scaleX != 0 && r.scaleY != 0;
  if (!usable) return NotHeld("INSERT", "invalid geometry");
  refusedReference_ = false;
  item.first = static_cast<uint32_t>(target_->inserts.size());
  target_->inserts.push_back(std::move(r));
  target_->items.push_back(std::move(item));
  if (Int(66, 0) != 0) openInsert_ = target_->items.size() - 1;
}

}  // namespace twinfind::dxf
