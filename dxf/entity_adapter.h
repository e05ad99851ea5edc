// The receiving end of dxflib: turns the layers, blocks and entities dxflib reports into the
// reader's model. The reader hands it the raw groups of the entity dxflib is reporting, for
// what dxflib does not pass on (flags, our extended data, MTEXT pieces).
#ifndef DXF_ENTITY_ADAPTER_H
#define DXF_ENTITY_ADAPTER_H

#include <dxflib/dl_creationadapter.h>

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "dxf/dxf_model.h"
#include "dxf/figure_geometry.h"
#include "dxf/group_reader.h"
#include "dxf/text_codec.h"

namespace twinfind::dxf {

class EntityAdapter : public DL_CreationAdapter {
 public:
  EntityAdapter(Model& model, const TextEncoding& encoding) : model_(model), encoding_(encoding) {}

  // Where the entities reported next belong (model space or a block), or nowhere.
  void SetTarget(Container* target);
  // The raw groups of the entity dxflib reports next (its type first).
  void SetEntityGroups(std::span<const Group> groups) { groups_ = groups; }
  // The entity of the ENTITIES section (an index of Model::entities) that the groups belong
  // to, -1 for none.
  void SetSource(int source) { source_ = source; }
  // Ends a polyline whose vertices have all been reported.
  void FinishPolyline();

  void addLayer(const DL_LayerData& data) override;
  void addBlock(const DL_BlockData& data) override;
  void addPoint(const DL_PointData& data) override;
  void addLine(const DL_LineData& data) override;
  void addArc(const DL_ArcData& data) override;
  void addCircle(const DL_CircleData& data) override;
  void addPolyline(const DL_PolylineData& data) override;
  void addVertex(const DL_VertexData& data) override;
  void endEntity() override { FinishPolyline(); }
  void endSequence() override;
  void addInsert(const DL_InsertData& data) override;
  void addText(const DL_TextData& data) override;
  void addMText(const DL_MTextData& data) override;
  void addAttribute(const DL_AttributeData& data) override;

 private:
  // +1 for an entity in the drawing plane seen from above, -1 seen from below (extrusion
  // 0, 0, -1: x is mirrored), nothing for an entity out of the plane.
  std::optional<double> PlaneSide();
  Style CurrentStyle();
  // A name from the file (layer, block) as UTF-8.
  std::string Name(const std::string& raw) const;
  const Group* Find(int code) const;
  int IntOf(int code, int fallback) const;
  void NotHeld(const std::string& key);
  // A new item of the reported entity, with its style and our extended data.
  Item NewItem(Item::Kind kind, const std::string& type);
  // Adds figures as one item of the target; counts the entity when they are unusable.
  void AddFigures(Item item, std::vector<FigureRecord> figures);
  void AddFigure(const std::string& type, const FigureRecord& figure);
  std::optional<TextLine> TextOf(const std::string& type, const DL_TextData& data);

  struct Polyline {
    Item item;
    bool open = false;
    bool held = true;
    std::string whyNot;
    bool closed = false;
    double side = 1;
    std::vector<Vertex> vertices;
  };

  Model& model_;
  TextEncoding encoding_;
  Container* target_ = nullptr;
  std::span<const Group> groups_;
  int source_ = -1;
  Polyline polyline_;
  std::optional<size_t> openInsert_;  // the target's insert that ATTRIBs are added to
};

}  // namespace twinfind::dxf

#endif  // DXF_ENTITY_ADAPTER_H
