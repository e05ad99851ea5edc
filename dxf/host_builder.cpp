#include "dxf/host_builder.h"

#include "dxf/block_flattening.h"
#include "dxf/layer_numbers.h"
#include "dxf/line_type_names.h"
#include "dxf/style_resolver.h"

namespace twinfind::dxf {
namespace {

class Builder {
 public:
  Builder(const Model& model, vexhost::Drawing& drawing, BuildCounts& counts)
      : model_(model),
        drawing_(drawing),
        counts_(counts),
        styles_(model.layers),
        flattener_(model, styles_, flatCounts_) {}

  void Run() {
    NumberAllLayers();
    const LineAttr savedAttr = drawing_.currentLineAttr();
    for (const Item& item : model_.modelSpace.items) Add(item);
    drawing_.SetCurrentLineAttr(savedAttr);
    for (const auto& [type, n] : model_.modelSpace.notHeld) AddCount(counts_.notHeld, type, n);
    for (const auto& [type, n] : flatCounts_.notHeld) AddCount(counts_.notHeld, type, n);
    for (const auto& [name, n] : flatCounts_.unknownLineTypes) {
      AddCount(counts_.unknownLineTypes, name, n);
    }
  }

 private:
  void NumberAllLayers() {
    std::vector<std::string> names;
    for (const LayerRecord& layer : model_.layers) names.push_back(layer.name);
    for (const Item& item : model_.modelSpace.items) names.push_back(item.style.layer);
    numbers_ = NumberLayers(names);
    for (const std::string& name : names) {
      const int number = numbers_.at(UpperCase(name));
      if (!drawing_.layerNames().count(number)) drawing_.SetLayerName(number, name);
    }
    for (const LayerRecord& layer : model_.layers) {
      if (layer.hidden) drawing_.SetLayerVisible(numbers_.at(UpperCase(layer.name)), false);
    }
  }

  int NewSegment(int kind, const std::string& layer, uint32_t attributes) {
    const int id = drawing_.CreateSegment(kind, VEX_LIFE_LASTING);
    vexhost::Segment* segment = drawing_.FindSegment(id);
    segment->layer = numbers_.at(UpperCase(layer));
    segment->attributes = attributes;
    ++counts_.segments;
    if (source_ >= 0 && static_cast<size_t>(source_) < counts_.entities.size()) {
      SourceEntity& e = counts_.entities[source_];
      if (e.segmentCount == 0) e.firstSegment = id;
      // Segments of one entity are made one after the other.
      if (e.firstSegment + e.segmentCount == id) ++e.segmentCount;
      if (cell_ >= 0) counts_.cells.emplace_back(id, cell_);
    }
    return id;
  }

  void AddFigures(int segment, const std::vector<FlatFigure>& figures) {
    for (const FlatFigure& f : figures) {
      drawing_.SetCurrentLineAttr(f.attr);
      drawing_.AddFigure(segment, f.figure);
    }
  }

  void AddText(int segment, const TextLine& line) {
    NormalTextData data{};
    data.type = VEX_ELEMENT_TEXT;
    data.x = line.x;
    data.y = line.y;
    data.text = line.text.c_str();
    data.three = 3;
    data.size1 = line.height;
    data.size2 = line.charWidth;
    data.one = 1;
    data.ten = 10;
    if (auto comment = vexhost::MakeTextComment(data)) drawing_.AddComment(segment, *comment);
  }

  void AddBalloon(int segment, const BalloonRecord& b) {
    BalloonData data{};
    data.leader = b.leader ? 1 : 0;
    data.anchorX = b.anchorX;
    data.anchorY = b.anchorY;
    data.centerX = b.centerX;
    data.centerY = b.centerY;
    data.diameter = b.diameter;
    data.rowCount = static_cast<int32_t>(b.rows.size());
    for (size_t i = 0; i < b.rows.size() && i < 3; ++i) data.rows[i] = b.rows[i].c_str();
    if (auto comment = vexhost::MakeBalloonComment(data)) drawing_.AddComment(segment, *comment);
  }

  void Add(const Item& item) {
    source_ = item.source;
    cell_ = -1;
    const std::string& layer = item.style.layer;
    switch (item.kind) {
      case Item::Kind::kFigures: {
        std::vector<FlatFigure> figures;
        const LineAttr attr =
            styles_.AttrOf(item.style, nullptr, static_cast<int>(item.figures.size()),
                           flatCounts_.unknownLineTypes);
        for (const FigureRecord& f : item.figures) figures.push_back({f, attr});
        AddFigures(NewSegment(VEX_SEGMENT_FIGURES, layer, item.segmentAttributes), figures);
        return;
      }
      case Item::Kind::kTexts: {
        const int segment = NewSegment(VEX_SEGMENT_COMMENTS, layer, item.segmentAttributes);
        for (const TextLine& t : item.texts) AddText(segment, t);
        return;
      }
      case Item::Kind::kBalloon:
        AddBalloon(NewSegment(VEX_SEGMENT_COMMENTS, layer, item.segmentAttributes), item.balloon);
        return;
      case Item::Kind::kInsert:
        return AddReference(item);
    }
  }

  // A block reference: per copy, one segment of figures and one of texts and balloons.
  void AddReference(const Item& item) {
    const auto block = model_.blocks.find(UpperCase(item.insert.block));
    if (block == model_.blocks.end()) {
      AddCount(counts_.notHeld, "INSERT (block not defined)", 1);
      return;
    }
    const auto copies = CopiesOf(item.insert, block->second->baseX, block->second->baseY);
    if (copies.empty()) AddCount(counts_.notHeld, "INSERT (too many copies)", 1);
    if (source_ >= 0 && static_cast<size_t>(source_) < counts_.entities.size()) {
      counts_.entities[source_].reference = true;
    }
    for (size_t i = 0; i < copies.size(); ++i) {
      if (copies.size() > 1) cell_ = static_cast<int>(i);
      Flattened flat = flattener_.Flatten(item, copies[i]);
      if (i == 0) {  // the attributes stand with the reference itself
        for (const TextLine& t : item.insert.attributes) flat.comments.push_back({false, t, {}});
      }
      const std::string& layer = item.style.layer;
      if (!flat.figures.empty()) {
        AddFigures(NewSegment(VEX_SEGMENT_FIGURES, layer, item.segmentAttributes), flat.figures);
      }
      if (!flat.comments.empty()) {
        const int segment = NewSegment(VEX_SEGMENT_COMMENTS, layer, item.segmentAttributes);
        for (const FlatComment& c : flat.comments) {
          if (c.isBalloon) {
            AddBalloon(segment, c.balloon);
          } else {
            AddText(segment, c.text);
          }
        }
      }
    }
  }

  const Model& model_;
  vexhost::Drawing& drawing_;
  BuildCounts& counts_;
  StyleResolver styles_;
  FlattenCounts flatCounts_;
  BlockFlattener flattener_;
  std::map<std::string, int> numbers_;
  int source_ = -1;  // the entity being built
  int cell_ = -1;    // the copy of an array being built
};

}  // namespace

void BuildDrawing(const Model& model, vexhost::Drawing& drawing, BuildCounts& counts) {
  Builder(model, drawing, counts).Run();
}

}  // namespace twinfind::dxf
