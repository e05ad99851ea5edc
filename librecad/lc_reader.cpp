#include "librecad/lc_reader.h"

#include <document_interface.h>

#include <QList>
#include <memory>

#include "dxf/aci_palette.h"
#include "dxf/block_flattening.h"
#include "dxf/curve_flattening.h"
#include "dxf/dxf_model.h"
#include "dxf/figure_geometry.h"
#include "dxf/host_builder.h"
#include "dxf/line_type_names.h"
#include "dxf/memory_limit.h"
#include "librecad/lc_look.h"

namespace twinfind::librecad {
namespace {

constexpr double kPi = 3.14159265358979323846;

// The handles getAllEntities gives, deleted with the list (LibreCAD's entities stay).
struct Entities {
  QList<Plug_Entity*> list;
  ~Entities() { qDeleteAll(list); }
};

double Get(const QHash<int, QVariant>& data, int key) { return data.value(key).toDouble(); }

// The DXF name a LibreCAD line-type name stands for in the model: empty (the layer's) for
// BYLAYER, BYBLOCK as it is, LibreCAD's own names by the host type of their look; any other
// name as it is, which the model draws continuous and tells.
std::string DxfLineType(const QString& name) {
  if (name.compare(QLatin1String("BYLAYER"), Qt::CaseInsensitive) == 0) return {};
  if (name.compare(QLatin1String("BYBLOCK"), Qt::CaseInsensitive) == 0) return "BYBLOCK";
  if (const auto type = HostLineTypeOfName(name))
    return std::string(dxf::DxfNameOfHostLineType(*type));
  return name.toStdString();
}

// The style of an entity as a DXF file would give it.
dxf::Style StyleOf(const QHash<int, QVariant>& data, dxf::NameTable& names) {
  dxf::Style style;
  style.layer = names.Intern(data.value(DPI::LAYER).toString().toStdString());
  const int color = data.value(DPI::COLOR).toInt();
  if (color == kByLayer) {
    style.aci = dxf::kAciByLayer;
  } else if (color == kByBlock) {
    style.aci = dxf::kAciByBlock;
  } else if (color == kForeground) {
    style.aci = dxf::kAciWhite;
  } else {
    style.trueColor = color & 0xFFFFFF;
  }
  style.lineType = names.Intern(DxfLineType(data.value(DPI::LTYPE).toString()));
  return style;
}

// The figures of an entity; nothing for a kind the interface gives no geometry of (the type
// name it is counted under goes to `type`).
std::vector<FigureRecord> FiguresOf(Plug_Entity& entity, const QHash<int, QVariant>& data,
                                    double chordTolerance, std::string& type) {
  std::vector<FigureRecord> figures;
  switch (data.value(DPI::ETYPE).toInt()) {
    case DPI::LINE:
      type = "LINE";
      figures.push_back(dxf::MakeLine(Get(data, DPI::STARTX), Get(data, DPI::STARTY),
                                      Get(data, DPI::ENDX), Get(data, DPI::ENDY)));
      break;
    case DPI::POINT:
      type = "POINT";
      figures.push_back(dxf::MakePoint(Get(data, DPI::STARTX), Get(data, DPI::STARTY)));
      break;
    case DPI::CIRCLE:
      type = "CIRCLE";
      figures.push_back(
          dxf::MakeCircle(Get(data, DPI::STARTX), Get(data, DPI::STARTY), Get(data, DPI::RADIUS)));
      break;
    case DPI::ARC: {
      type = "ARC";
      // A clockwise arc of LibreCAD's is the counter-clockwise arc between the same ends, as
      // LibreCAD writes it into a DXF file.
      double from = Get(data, DPI::STARTANGLE), to = Get(data, DPI::ENDANGLE);
      if (data.value(DPI::REVERSED).toBool()) std::swap(from, to);
      figures.push_back(dxf::MakeArc(Get(data, DPI::STARTX), Get(data, DPI::STARTY),
                                     Get(data, DPI::RADIUS), from * 180 / kPi, to * 180 / kPi));
      break;
    }
    case DPI::POLYLINE: {
      type = "LWPOLYLINE";
      QList<Plug_VertexData> vertices;
      entity.getPolylineData(&vertices);
      std::vector<dxf::Vertex> points;
      for (const Plug_VertexData& v : vertices)
        points.push_back({v.point.x(), v.point.y(), v.bulge});
      figures = dxf::PolylineFigures(points, data.value(DPI::CLOSEPOLY).toInt() != 0);
      break;
    }
    case DPI::ELLIPSE: {
      type = "ELLIPSE";
      dxf::EllipseData e;
      e.centre = {Get(data, DPI::STARTX), Get(data, DPI::STARTY)};
      e.majorAxis = {Get(data, DPI::ENDX), Get(data, DPI::ENDY)};
      e.ratio = Get(data, DPI::HEIGHT);
      e.startParameter = Get(data, DPI::STARTANGLE);
      e.endParameter = Get(data, DPI::ENDANGLE);
      if (data.value(DPI::REVERSED).toBool()) std::swap(e.startParameter, e.endParameter);
      figures = dxf::FlattenEllipse(e, chordTolerance).lines;
      break;
    }
    case DPI::TEXT:
      type = "TEXT";
      break;
    case DPI::MTEXT:
      type = "MTEXT";
      break;
    case DPI::INSERT:
      type = "INSERT";
      break;
    case DPI::SPLINE:
    case DPI::SPLINEPOINTS:
      type = "SPLINE";
      break;
    case DPI::HATCH:
      type = "HATCH";
      break;
    case DPI::IMAGE:
      type = "IMAGE";
      break;
    case DPI::SOLID:
      type = "SOLID";
      break;
    case DPI::DIMLEADER:
      type = "LEADER";
      break;
    case DPI::DIMALIGNED:
    case DPI::DIMLINEAR:
    case DPI::DIMRADIAL:
    case DPI::DIMDIAMETRIC:
    case DPI::DIMANGULAR:
      type = "DIMENSION";
      break;
    default:
      type = "OTHER";
      break;
  }
  // A figure beyond the drawing's reach is not taken, as a file's is not.
  for (const FigureRecord& f : figures) {
    if (!dxf::UsableFigure(f)) return {};
  }
  return figures;
}

}  // namespace

ReadResult ReadDrawing(Document_Interface& doc, vexhost::Drawing& drawing, EntityMap& map,
                       double chordTolerance) {
  ReadResult result;
  auto model = std::make_unique<dxf::Model>();
  // The layers' colours and line types: the interface tells those of the current layer only,
  // so each layer is made current in turn, and the user's current layer again at the end.
  const QString current = doc.getCurrentLayer();
  for (const QString& name : doc.getAllLayer()) {
    doc.setLayer(name);
    int color = 0;
    QString width, lineType;
    doc.getCurrentLayerProperties(&color, &width, &lineType);
    dxf::LayerRecord layer;
    layer.name = name.toStdString();
    if (color == kForeground) {
      layer.aci = dxf::kAciWhite;
    } else {
      layer.trueColor = color & 0xFFFFFF;
    }
    layer.lineType = DxfLineType(lineType);
    if (layer.lineType.empty() || layer.lineType == "BYBLOCK") layer.lineType = "CONTINUOUS";
    model->layers.push_back(std::move(layer));
  }
  doc.setLayer(current);

  map = EntityMap{};
  // Every entity, those LibreCAD took back by its undo too, for the highest number given; of
  // them, those it shows are read.
  Entities all;
  doc.getAllEntities(&all.list, false);
  std::vector<qulonglong> ids;  // of the model's entities, in order
  dxf::Container& space = model->modelSpace;
  for (Plug_Entity* e : all.list) {
    QHash<int, QVariant> data;
    e->getData(&data);
    map.highestId = std::max(map.highestId, data.value(DPI::EID).toULongLong());
    if (data.value(DPI::VISIBLE).toInt() == 0) continue;
    std::string type;
    std::vector<FigureRecord> figures = FiguresOf(*e, data, chordTolerance, type);
    if (figures.empty()) {
      ++result.notRead[type];
      continue;
    }
    dxf::Item item;
    item.kind = dxf::Item::Kind::kFigures;
    item.type = model->names.Intern(type);
    item.style = StyleOf(data, model->names);
    item.source = static_cast<int>(model->entities.size());
    item.first = static_cast<uint32_t>(space.figures.size());
    item.count = static_cast<uint32_t>(figures.size());
    space.figures.insert(space.figures.end(), figures.begin(), figures.end());
    space.items.push_back(item);
    model->entities.emplace_back();
    ids.push_back(data.value(DPI::EID).toULongLong());
  }

  dxf::BuildCounts counts;
  counts.entities = std::move(model->entities);
  dxf::MemoryWatch watch(dxf::DefaultMemoryLimit());
  try {
    dxf::BuildDrawing(*model, drawing, counts, dxf::FlattenLimits{}, watch);
  } catch (const std::exception& e) {
    result.error = watch.exceeded() ? watch.Refusal() : e.what();
    return result;
  }
  for (size_t i = 0; i < counts.entities.size(); ++i) {
    const dxf::SourceEntity& source = counts.entities[i];
    for (int s = 0; s < source.segmentCount; ++s)
      map.entitiesOf[source.firstSegment + s].push_back(ids[i]);
  }
  drawing.MarkBaseline();
  result.segments = counts.segments;
  for (const auto& [type, count] : counts.notHeld) result.notRead[type] += count;
  return result;
}

}  // namespace twinfind::librecad
