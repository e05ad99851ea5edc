#include "librecad/lc_writer.h"

#include <document_interface.h>

#include <QList>
#include <algorithm>
#include <cmath>

#include "dxf/figure_geometry.h"
#include "dxf/segment_entities.h"
#include "host/balloon_layout.h"
#include "host/figures.h"
#include "librecad/lc_look.h"

namespace twinfind::librecad {
namespace {

// The vertical alignment codes addText hands on to LibreCAD's texts, which count from the
// baseline (0 baseline, 1 bottom, 2 middle, 3 top), not as the interface's names say.
constexpr auto kBaseline = static_cast<DPI::VAlign>(0);
constexpr auto kMiddle = static_cast<DPI::VAlign>(2);

QString QStringOf(const std::u16string& text) {
  return QString::fromUtf16(text.data(), static_cast<int>(text.size()));
}

Look LookOf(const LineAttr& attr) {
  return {RgbOfHostColor(attr.color), NameOfHostLineType(attr.lineType), {}};
}

const Look kHighlightLook{kHighlightRgb, QStringLiteral("SolidLine"), QStringLiteral("0.70mm")};
const Look kLayerLook{kByLayer, QStringLiteral("BYLAYER"), {}};

void PutLook(QHash<int, QVariant>& data, const Look& look, const QString& layer) {
  data.insert(DPI::LAYER, layer);
  data.insert(DPI::COLOR, look.color);
  data.insert(DPI::LTYPE, look.lineType);
  if (!look.width.isEmpty()) data.insert(DPI::LWIDTH, look.width);
}

double AngleOf(double cx, double cy, double x, double y) { return std::atan2(y - cy, x - cx); }

}  // namespace

QString ChangeWriter::LayerName(int layer) {
  const auto& names = drawing_.layerNames();
  const auto found = names.find(layer);
  const QString name =
      found != names.end() ? QString::fromStdString(found->second) : QString::number(layer);
  // A layer the drawing does not have yet (the command's own) is made: a new entity names its
  // layer, and LibreCAD gives one on no layer of its own nothing to be drawn on.
  if (layers_.isEmpty()) layers_ = doc_.getAllLayer();
  if (!layers_.contains(name)) {
    const QString current = doc_.getCurrentLayer();
    doc_.setLayer(name);
    doc_.setLayer(current);
    layers_.append(name);
  }
  return name;
}

bool ChangeWriter::AddFigure(const FigureRecord& f, const Look& look, const QString& layer) {
  QHash<int, QVariant> data;
  enum DPI::ETYPE type = DPI::LINE;
  switch (f.kind) {
    case VEX_FIG_LINE:
      data.insert(DPI::STARTX, f.u.line.x1);
      data.insert(DPI::STARTY, f.u.line.y1);
      data.insert(DPI::ENDX, f.u.line.x2);
      data.insert(DPI::ENDY, f.u.line.y2);
      break;
    case VEX_FIG_POINT:
      type = DPI::POINT;
      data.insert(DPI::STARTX, f.u.point.x);
      data.insert(DPI::STARTY, f.u.point.y);
      break;
    case VEX_FIG_CIRCLE:
      type = DPI::CIRCLE;
      data.insert(DPI::STARTX, f.u.circle.cx);
      data.insert(DPI::STARTY, f.u.circle.cy);
      data.insert(DPI::RADIUS, f.u.circle.r);
      break;
    case VEX_FIG_ARC: {
      type = DPI::ARC;
      const FigureArc& a = f.u.arc;
      // LibreCAD's arcs run counter-clockwise: a clockwise one is the same arc from its end.
      double from = AngleOf(a.cx, a.cy, a.sx, a.sy), to = AngleOf(a.cx, a.cy, a.ex, a.ey);
      if (a.direction == VEX_ARC_CW) std::swap(from, to);
      data.insert(DPI::STARTX, a.cx);
      data.insert(DPI::STARTY, a.cy);
      data.insert(DPI::RADIUS, a.r);
      data.insert(DPI::STARTANGLE, from);
      data.insert(DPI::ENDANGLE, to);
      break;
    }
    default:
      return false;  // kinds 4 and 5: LibreCAD has no entity for them
  }
  Plug_Entity* entity = doc_.newEntity(type);
  if (entity == nullptr) return false;
  PutLook(data, look, layer);
  entity->updateData(&data);
  // The handle of a new entity deletes the entity with itself until it is added; added, the
  // entity is LibreCAD's, and the handle must live on (a few bytes) for it not to go.
  doc_.addEntity(entity);
  return true;
}

bool ChangeWriter::AddPolyline(const std::vector<FigureRecord>& figures, bool closed,
                               const Look& look, const QString& layer) {
  Plug_Entity* entity = doc_.newEntity(DPI::POLYLINE);
  if (entity == nullptr) return false;
  // Closed before its vertices go in, so that LibreCAD adds the closing span as they do.
  QHash<int, QVariant> data;
  PutLook(data, look, layer);
  data.insert(DPI::CLOSEPOLY, closed ? 1 : 0);
  entity->updateData(&data);
  QList<Plug_VertexData> vertices;
  for (const FigureRecord& f : figures) {
    const VexPoint p = dxf::StartOf(f);
    const double bulge = f.kind == VEX_FIG_ARC ? dxf::BulgeOfArc(f.u.arc) : 0.0;
    vertices.append(Plug_VertexData(QPointF(p.x, p.y), bulge));
  }
  if (!closed) {
    const VexPoint end = dxf::EndOf(figures.back());
    vertices.append(Plug_VertexData(QPointF(end.x, end.y), 0.0));
  }
  entity->updatePolylineData(&vertices);
  doc_.addEntity(entity);  // the handle lives on, as for any new entity
  return true;
}

int ChangeWriter::WriteFigures(const std::vector<FigureRecord>& figures, const Look& look,
                               const QString& layer) {
  // What the DXF writer writes as one polyline is one here too: lines and arcs of one look,
  // joined end to end.
  bool closed = false;
  if (figures.size() > 1 && dxf::IsChain(figures, std::vector<LineAttr>(figures.size()), closed)) {
    return AddPolyline(figures, closed, look, layer) ? 1 : 0;
  }
  int made = 0;
  for (const FigureRecord& f : figures) made += AddFigure(f, look, layer) ? 1 : 0;
  return made;
}

int ChangeWriter::AddComment(const vexhost::Comment& comment, const QString& layer) {
  // Texts go on the current layer: it is made the comment's for their time.
  const QString current = doc_.getCurrentLayer();
  doc_.setLayer(layer);
  int made = 0;
  if (const auto* text = std::get_if<vexhost::TextComment>(&comment)) {
    QPointF at(text->record.x, text->record.y);
    doc_.addText(QStringOf(text->text), QStringLiteral("standard"), &at, text->record.size1, 0,
                 DPI::HAlignLeft, kBaseline);
    made = 1;
  } else {
    const vexhost::BalloonShape shape =
        vexhost::LayoutBalloon(std::get<vexhost::BalloonComment>(comment));
    made += AddFigure(vexhost::MakeCircle(shape.cx, shape.cy, shape.r), kLayerLook, layer) ? 1 : 0;
    if (shape.leader) {
      made += AddFigure(vexhost::MakeLine(shape.anchorX, shape.anchorY, shape.edgeX, shape.edgeY),
                        kLayerLook, layer)
                  ? 1
                  : 0;
    }
    for (const vexhost::BalloonRow& row : shape.rows) {
      QPointF at(row.centerX, row.centerY);
      doc_.addText(QStringOf(row.text), QStringLiteral("standard"), &at, row.height, 0,
                   DPI::HAlignCenter, kMiddle);
      ++made;
    }
  }
  doc_.setLayer(current);
  return made;
}

int ChangeWriter::WriteSegment(const vexhost::Segment& segment, bool highlight,
                               WriteCounts& counts) {
  const QString layer = LayerName(segment.layer);
  int made = 0;
  if (segment.kind == VEX_SEGMENT_COMMENTS) {
    if (highlight) return 0;
    for (const int id : segment.elements) {
      const vexhost::Element* e = drawing_.FindElement(id);
      if (e != nullptr && e->comment) made += AddComment(*e->comment, layer);
    }
    return made;
  }
  // Figures go out in runs of one look: a run that chains is one polyline.
  std::vector<FigureRecord> run;
  LineAttr look{};
  for (const int id : segment.elements) {
    const vexhost::Element* e = drawing_.FindElement(id);
    if (e == nullptr || e->comment) continue;
    if (e->figure.kind != VEX_FIG_LINE && e->figure.kind != VEX_FIG_ARC &&
        e->figure.kind != VEX_FIG_CIRCLE && e->figure.kind != VEX_FIG_POINT) {
      ++counts.notWritten;
      continue;
    }
    const LineAttr attr = e->lineAttr.value_or(LineAttr{});
    if (!run.empty() && (attr.color != look.color || attr.lineType != look.lineType)) {
      made += WriteFigures(run, highlight ? kHighlightLook : LookOf(look), layer);
      run.clear();
    }
    look = attr;
    run.push_back(e->figure);
  }
  if (!run.empty()) made += WriteFigures(run, highlight ? kHighlightLook : LookOf(look), layer);
  return made;
}

std::map<qulonglong, Plug_Entity*> ChangeWriter::Handles() {
  // Only what LibreCAD shows: an entity taken back (by an earlier removal or recolour) would be
  // brought back by removing or recolouring it again.
  QList<Plug_Entity*> shown;
  doc_.getAllEntities(&shown, true);
  std::map<qulonglong, Plug_Entity*> byId;
  for (Plug_Entity* e : shown) {
    handles_.push_back(e);
    QHash<int, QVariant> data;
    e->getData(&data);
    byId[data.value(DPI::EID).toULongLong()] = e;
  }
  return byId;
}

void ChangeWriter::RemoveEntities(const std::vector<qulonglong>& ids,
                                  const std::map<qulonglong, Plug_Entity*>& handles,
                                  WriteCounts& counts) {
  for (const qulonglong id : ids) {
    const auto found = handles.find(id);
    if (found == handles.end()) continue;
    doc_.removeEntity(found->second);
    ++counts.removed;
  }
}

bool ChangeWriter::TakeMadeIds() {
  QList<Plug_Entity*> all;
  doc_.getAllEntities(&all, false);
  // The entities made are the last ones: read backwards to the first of them.
  std::vector<std::pair<qulonglong, int>> fresh;  // id and colour
  for (auto it = all.rbegin(); it != all.rend(); ++it) {
    QHash<int, QVariant> data;
    (*it)->getData(&data);
    const qulonglong id = data.value(DPI::EID).toULongLong();
    if (id <= map_.highestId) break;
    fresh.emplace_back(id, data.value(DPI::COLOR).toInt());
  }
  qDeleteAll(all);
  std::reverse(fresh.begin(), fresh.end());
  const bool matched = fresh.size() == made_.size();
  for (size_t i = 0; i < fresh.size(); ++i) {
    const auto [id, color] = fresh[i];
    map_.highestId = std::max(map_.highestId, id);
    if (matched && made_[i] != 0) {
      map_.entitiesOf[made_[i]].push_back(id);
    } else if (matched || color == kHighlightRgb) {
      // Untold apart from the rest, the highlight is still known by its colour, which no
      // host colour has: it must not stay in the user's drawing.
      highlight_.push_back(id);
    }
  }
  made_.clear();
  return matched;
}

void ChangeWriter::RemoveHighlight(const std::map<qulonglong, Plug_Entity*>& handles) {
  WriteCounts ignored;
  RemoveEntities(highlight_, handles, ignored);
  highlight_.clear();
  shown_.clear();
}

void ChangeWriter::ClearHighlight() {
  if (!highlight_.empty()) RemoveHighlight(Handles());
  shown_.clear();
  qDeleteAll(handles_);
  handles_.clear();
}

WriteCounts ChangeWriter::Sync() {
  WriteCounts counts;
  const vexhost::BaselineChanges changes = drawing_.ChangesSinceBaseline();
  const bool changed = !changes.restyled.empty() || !changes.reshaped.empty() ||
                       !changes.deleted.empty() || !changes.added.empty();
  if (!changed && drawing_.blinking() == shown_) return counts;
  // One look at LibreCAD's entities serves the pass: the highlight goes first (it is drawn
  // afresh over what the drawing is now), then the entities of segments gone or recoloured.
  const bool touches = !highlight_.empty() || !changes.restyled.empty() ||
                       !changes.reshaped.empty() || !changes.deleted.empty();
  const std::map<qulonglong, Plug_Entity*> handles =
      touches ? Handles() : std::map<qulonglong, Plug_Entity*>{};
  RemoveHighlight(handles);
  if (changed) {
    for (const std::vector<int>* gone : {&changes.deleted, &changes.reshaped}) {
      for (const int segment : *gone) {
        RemoveEntities(map_.entitiesOf[segment], handles, counts);
        map_.entitiesOf.erase(segment);
      }
    }
    for (const int segment : changes.restyled) {
      const vexhost::Segment* s = drawing_.FindSegment(segment);
      const vexhost::Element* first = s != nullptr && !s->elements.empty()
                                          ? drawing_.FindElement(s->elements.front())
                                          : nullptr;
      if (first == nullptr) continue;
      const LineAttr attr = first->lineAttr.value_or(LineAttr{});
      for (const qulonglong id : map_.entitiesOf[segment]) {
        const auto found = handles.find(id);
        if (found == handles.end()) continue;
        QHash<int, QVariant> data;
        data.insert(DPI::COLOR, RgbOfHostColor(attr.color));
        data.insert(DPI::LTYPE, NameOfHostLineType(attr.lineType));
        // LibreCAD recolours a copy of the entity, which takes its place (and a new id).
        found->second->updateData(&data);
        Made(segment, 1);
        ++counts.restyled;
      }
      map_.entitiesOf.erase(segment);
    }
    for (const std::vector<int>* made : {&changes.added, &changes.reshaped}) {
      for (const int segment : *made) {
        if (const vexhost::Segment* s = drawing_.FindSegment(segment)) {
          const int count = WriteSegment(*s, false, counts);
          Made(segment, count);
          counts.added += count;
        }
      }
    }
    drawing_.MarkBaseline();
  }
  for (const auto& [auxId, id] : drawing_.blinking()) {
    if (const vexhost::Segment* s = drawing_.FindSegment(id))
      Made(0, WriteSegment(*s, true, counts));
  }
  shown_ = drawing_.blinking();
  counts.lostTrack = !TakeMadeIds();
  qDeleteAll(handles_);
  handles_.clear();
  return counts;
}

std::vector<int> ChangeWriter::SegmentsOf(const std::vector<qulonglong>& entities,
                                          int& unread) const {
  std::map<qulonglong, int> segmentOf;
  for (const auto& [segment, ids] : map_.entitiesOf) {
    for (const qulonglong id : ids) segmentOf[id] = segment;
  }
  std::vector<int> segments;
  unread = 0;
  for (const qulonglong id : entities) {
    const auto found = segmentOf.find(id);
    if (found == segmentOf.end()) {
      ++unread;
    } else {
      segments.push_back(found->second);
    }
  }
  std::sort(segments.begin(), segments.end());
  segments.erase(std::unique(segments.begin(), segments.end()), segments.end());
  return segments;
}

}  // namespace twinfind::librecad
