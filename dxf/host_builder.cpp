#include "dxf/host_builder.h"

#include <tuple>
#include <unordered_map>
#include <unordered_set>

#include "dxf/aci_palette.h"
#include "dxf/layer_numbers.h"
#include "dxf/line_type_names.h"
#include "dxf/style_resolver.h"

namespace twinfind::dxf {
namespace {

// How many segments pass between two looks at the process's memory.
constexpr int kWatchEvery = 4096;

const Container* BlockOf(const Model& model, const InsertRecord& insert) {
  const auto it = model.blocks.find(UpperCase(insert.block));
  return it == model.blocks.end() ? nullptr : it->second.get();
}

// Builds the index once at the end, whatever way the building ends.
class DeferredIndex {
 public:
  explicit DeferredIndex(vexhost::Drawing& drawing) : drawing_(drawing) { drawing_.DeferIndex(); }
  ~DeferredIndex() {
    try {
      drawing_.BuildIndex();
    } catch (...) {  // out of memory: the import is given up anyway
    }
  }
  DeferredIndex(const DeferredIndex&) = delete;
  DeferredIndex& operator=(const DeferredIndex&) = delete;

 private:
  vexhost::Drawing& drawing_;
};

class Builder {
 public:
  Builder(const Model& model, vexhost::Drawing& drawing, BuildCounts& counts,
          const FlattenLimits& limits, MemoryWatch& watch)
      : model_(model),
        drawing_(drawing),
        counts_(counts),
        watch_(watch),
        styles_(model.layers),
        flattener_(model, styles_, flatCounts_, limits) {}

  void Run() {
    NumberAllLayers();
    const LineAttr savedAttr = drawing_.currentLineAttr();
    {
      const DeferredIndex index(drawing_);
      for (const Item& item : model_.modelSpace.items) Add(item);
    }
    drawing_.SetCurrentLineAttr(savedAttr);
    for (const auto& [type, n] : model_.modelSpace.notHeld) AddCount(counts_.notHeld, type, n);
    for (const auto& [type, n] : flatCounts_.notHeld) AddCount(counts_.notHeld, type, n);
    for (const auto& [name, n] : flatCounts_.unknownLineTypes) {
      AddCount(counts_.unknownLineTypes, name, n);
    }
  }

 private:
  void NumberAllLayers() {
    // Each name once, in the order of the table and then of first use (the model's names are
    // held once each, so a name is known by where it lies).
    std::vector<std::string> names;
    std::unordered_set<const char*> seen;
    for (const LayerRecord& layer : model_.layers) names.push_back(layer.name);
    for (const Item& item : model_.modelSpace.items) {
      if (seen.insert(item.style.layer.data()).second) names.emplace_back(item.style.layer);
    }
    const std::map<std::string, int> numbers = NumberLayers(names);
    for (const std::string& name : names) {
      const int number = numbers.at(UpperCase(name));
      if (!drawing_.layerNames().count(number)) drawing_.SetLayerName(number, name);
    }
    for (const LayerRecord& layer : model_.layers) {
      const int number = numbers.at(UpperCase(layer.name));
      if (layer.hidden) drawing_.SetLayerVisible(number, false);
      drawing_.SetLayerColor(
          number,
          NearestHostColor(layer.trueColor >= 0 ? static_cast<uint32_t>(layer.trueColor) & 0xFFFFFF
                                                : AciRgb(layer.aci)));
    }
    for (const Item& item : model_.modelSpace.items) {
      const char* key = item.style.layer.data();
      if (!layerNumbers_.count(key)) {
        layerNumbers_[key] = numbers.at(UpperCase(item.style.layer));
      }
    }
  }

  int NewSegment(int kind, const Item& item) {
    if (++made_ % kWatchEvery == 0 && !watch_.Fits()) throw MemoryLimitReached();
    const int id = drawing_.CreateSegment(kind, VEX_LIFE_LASTING);
    vexhost::Segment* segment = drawing_.FindSegment(id);
    segment->layer = layerNumbers_.at(item.style.layer.data());
    segment->attributes = item.segmentAttributes;
    ++counts_.segments;
    entitySegments_.push_back(id);
    if (SourceEntity* e = Source()) {
      if (e->segmentCount == 0) e->firstSegment = id;
      // Segments of one entity are made one after the other.
      if (e->firstSegment + e->segmentCount == id) ++e->segmentCount;
      if (cell_ >= 0) counts_.cells.emplace_back(id, cell_);
    }
    return id;
  }

  SourceEntity* Source() {
    if (source_ < 0 || static_cast<size_t>(source_) >= counts_.entities.size()) return nullptr;
    return &counts_.entities[static_cast<size_t>(source_)];
  }

  // Takes back the last segment made for the entity being built.
  void UnmakeLast() {
    const int id = entitySegments_.back();
    entitySegments_.pop_back();
    drawing_.DeleteSegment(id);
    --counts_.segments;
    if (!counts_.cells.empty() && counts_.cells.back().first == id) counts_.cells.pop_back();
    if (SourceEntity* e = Source(); e && e->segmentCount > 0) --e->segmentCount;
  }

  // A segment that took none of what it was given goes again: no segment stays empty.
  void DropIfEmpty(int segment) {
    const vexhost::Segment* s = drawing_.FindSegment(segment);
    if (s && s->elements.empty() && entitySegments_.back() == segment) UnmakeLast();
  }

  void AddFigures(const Item& item, std::span<const FigureRecord> figures, const LineAttr& attr) {
    const int segment = NewSegment(VEX_SEGMENT_FIGURES, item);
    drawing_.SetCurrentLineAttr(attr);
    for (const FigureRecord& f : figures) drawing_.AddFigure(segment, f);
    DropIfEmpty(segment);
  }

  void AddFlatFigures(const Item& item, const std::vector<FlatFigure>& figures) {
    const int segment = NewSegment(VEX_SEGMENT_FIGURES, item);
    for (const FlatFigure& f : figures) {
      drawing_.SetCurrentLineAttr(f.attr);
      drawing_.AddFigure(segment, f.figure);
    }
    DropIfEmpty(segment);
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

  // The line attribute of a model-space entity, worked out once per distinct style.
  LineAttr AttrOf(const Item& item) {
    const auto key = std::make_tuple(item.style.layer.data(), item.style.aci, item.style.trueColor,
                                     item.style.lineType.data());
    auto it = attrs_.find(key);
    if (it == attrs_.end()) {
      std::map<std::string, int> unknown;
      const LineAttr attr = styles_.AttrOf(item.style, nullptr, 1, unknown);
      it = attrs_.emplace(key, std::make_pair(attr, unknown.empty() ? "" : unknown.begin()->first))
               .first;
    }
    if (!it->second.second.empty()) {
      AddCount(counts_.unknownLineTypes, it->second.second, static_cast<long long>(item.count));
    }
    return it->second.first;
  }

  void Add(const Item& item) {
    source_ = item.source;
    cell_ = -1;
    entitySegments_.clear();
    const Container& space = model_.modelSpace;
    switch (item.kind) {
      case Item::Kind::kFigures:
        return AddFigures(item, space.FiguresOf(item), AttrOf(item));
      case Item::Kind::kTexts: {
        const int segment = NewSegment(VEX_SEGMENT_COMMENTS, item);
        for (const TextLine& t : space.TextsOf(item)) AddText(segment, t);
        return DropIfEmpty(segment);
      }
      case Item::Kind::kBalloon: {
        const int segment = NewSegment(VEX_SEGMENT_COMMENTS, item);
        AddBalloon(segment, space.BalloonOf(item));
        return DropIfEmpty(segment);
      }
      case Item::Kind::kInsert:
        return AddReference(item);
    }
  }

  // A block reference: per copy, one segment of figures and one of texts and balloons.
  void AddReference(const Item& item) {
    const InsertRecord& insert = model_.modelSpace.InsertOf(item);
    const Container* block = BlockOf(model_, insert);
    if (!block) return AddCount(counts_.notHeld, "INSERT (block not defined)", 1);
    const auto copies = CopiesOf(insert, block->baseX, block->baseY);
    if (copies.empty()) return AddCount(counts_.notHeld, "INSERT (too many copies)", 1);
    if (!CopiesWithinReach(insert, *block, PlaneMap{})) {
      return AddCount(counts_.notHeld, "INSERT (invalid geometry)", 1);
    }
    const std::string refusal = flattener_.Refusal(*block, copies.size());
    if (!refusal.empty()) return AddCount(counts_.notHeld, "INSERT (" + refusal + ")", 1);
    if (SourceEntity* e = Source()) e->reference = true;
    const uint64_t weightBefore = flatCounts_.weight, copiesBefore = flatCounts_.copies;
    for (size_t i = 0; i < copies.size(); ++i) {
      if (copies.size() > 1) cell_ = static_cast<int>(i);
      Flattened flat;
      if (!flattener_.Flatten(item, *block, copies[i], flat)) {
        // More than the import may place after all (a block holding itself hid some of it).
        while (!entitySegments_.empty()) UnmakeLast();
        flatCounts_.weight = weightBefore;
        flatCounts_.copies = copiesBefore;
        if (SourceEntity* e = Source()) e->reference = false;
        return AddCount(
            counts_.notHeld,
            "INSERT (block " + block->name + " would place more than an import places from blocks)",
            1);
      }
      if (i == 0) {  // the attributes stand with the reference itself
        for (const TextLine& t : insert.attributes) flat.comments.push_back({false, t, {}});
      }
      if (!flat.figures.empty()) AddFlatFigures(item, flat.figures);
      if (!flat.comments.empty()) {
        const int segment = NewSegment(VEX_SEGMENT_COMMENTS, item);
        for (const FlatComment& c : flat.comments) {
          if (c.isBalloon) {
            AddBalloon(segment, c.balloon);
          } else {
            AddText(segment, c.text);
          }
        }
        DropIfEmpty(segment);
      }
    }
  }

  const Model& model_;
  vexhost::Drawing& drawing_;
  BuildCounts& counts_;
  MemoryWatch& watch_;
  StyleResolver styles_;
  FlattenCounts flatCounts_;
  BlockFlattener flattener_;
  std::unordered_map<const char*, int> layerNumbers_;  // by the model's name
  std::map<std::tuple<const char*, int, int, const char*>, std::pair<LineAttr, std::string>> attrs_;
  int source_ = -1;                  // the entity being built
  int cell_ = -1;                    // the copy of an array being built
  int made_ = 0;                     // segments made
  std::vector<int> entitySegments_;  // the segments made for the entity being built
};

}  // namespace

uint64_t PlannedElements(const Model& model, const FlattenLimits& limits) {
  const StyleResolver styles(model.layers);
  FlattenCounts counts;
  BlockFlattener flattener(model, styles, counts, limits);
  uint64_t elements = 0, fromBlocks = 0;
  for (const Item& item : model.modelSpace.items) {
    if (item.kind != Item::Kind::kInsert) {
      elements += item.kind == Item::Kind::kBalloon ? 1 : item.count;
      continue;
    }
    const InsertRecord& insert = model.modelSpace.InsertOf(item);
    elements += insert.attributes.size();
    const Container* block = BlockOf(model, insert);
    if (!block) continue;
    const uint64_t copies = static_cast<uint64_t>(std::max(1, insert.columns)) *
                            static_cast<uint64_t>(std::max(1, insert.rows));
    const BlockTotals one = flattener.TotalsOf(*block);
    if (copies > static_cast<uint64_t>(kMaxArrayCopies) || one.weight > limits.weight) continue;
    // Every element weighs at least one: no more than the limit's weight of them is placed.
    fromBlocks = std::min(limits.weight, fromBlocks + copies * one.elements);
  }
  return elements + fromBlocks;
}

void BuildDrawing(const Model& model, vexhost::Drawing& drawing, BuildCounts& counts,
                  const FlattenLimits& limits, MemoryWatch& watch) {
  Builder(model, drawing, counts, limits, watch).Run();
}

}  // namespace twinfind::dxf
