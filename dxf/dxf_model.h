// What the reader makes of a DXF file before anything reaches the host: layers, block
// definitions and the entities of model space, in the file's own terms (layer names, ACI
// colours, line-type names), with the entities the host cannot hold counted by type.
#ifndef DXF_DXF_MODEL_H
#define DXF_DXF_MODEL_H

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "dxf/dxf_source.h"
#include "vexlib/vexlib.h"

namespace twinfind::dxf {

// Names the model holds once each (layers, line types), so that an entity refers to its own
// without a copy of it. The views it gives last as long as the table.
class NameTable {
 public:
  std::string_view Intern(std::string_view name) {
    const auto it = names_.find(name);
    return it != names_.end() ? std::string_view(*it)
                              : std::string_view(*names_.emplace(name).first);
  }

 private:
  std::set<std::string, std::less<>> names_;  // its nodes stay where they are
};

// How an entity asks to be drawn, as written in the file.
struct Style {
  std::string_view layer = "0";
  int aci = 256;              // 256 BYLAYER, 0 BYBLOCK, 1..255 a colour
  int trueColor = -1;         // 0xRRGGBB when the entity gives one
  std::string_view lineType;  // empty or BYLAYER: the layer's; BYBLOCK: the insert's
};

// One line of text: its left end on the baseline, its height and the width of one character.
struct TextLine {
  std::u16string text;
  double x = 0, y = 0;
  double height = 0;
  double charWidth = 0;
};

// A balloon as our exporter writes it (an INSERT carrying our extended data).
struct BalloonRecord {
  bool leader = false;
  double anchorX = 0, anchorY = 0;
  double centerX = 0, centerY = 0;
  double diameter = 0;
  std::vector<std::u16string> rows;
};

// A block reference: where and how its block is placed.
struct InsertRecord {
  std::string block;
  double x = 0, y = 0;  // insertion point, in the plane of the drawing
  double scaleX = 1, scaleY = 1;
  double degrees = 0;
  bool seenFromBelow = false;  // extrusion (0, 0, -1): the whole reference is mirrored in x
  int columns = 1, rows = 1;
  double columnSpacing = 0, rowSpacing = 0;
  std::vector<TextLine> attributes;  // its visible ATTRIB texts, already in place
};

// One entity of model space or of a block, as the host will take it. What it holds lies in its
// container's lists (a drawing of millions of lines keeps each in a few dozen bytes).
struct Item {
  enum class Kind : uint8_t { kFigures, kTexts, kInsert, kBalloon };
  Kind kind = Kind::kFigures;
  std::string_view type;  // the DXF entity type (a name of ours that lasts)
  Style style;
  uint32_t segmentAttributes = 0;  // carried in our extended data
  int source = -1;                 // model space: the entity of Model::entities it comes from
  // kFigures: `count` figures of the container's from `first` (one for LINE, ARC, ...; a
  // polyline's pieces); kTexts: its text lines alike (one TEXT line, or an MTEXT's lines);
  // kInsert, kBalloon: the record at `first`.
  uint32_t first = 0, count = 0;
};

// Model space, or the contents of one block definition.
struct Container {
  std::string name;
  double baseX = 0, baseY = 0;
  std::vector<Item> items;
  std::vector<FigureRecord> figures;
  std::vector<TextLine> texts;
  std::vector<InsertRecord> inserts;
  std::vector<BalloonRecord> balloons;
  std::map<std::string, int> notHeld;  // "TYPE" or "TYPE (why)" -> how many

  std::span<const FigureRecord> FiguresOf(const Item& item) const {
    return std::span<const FigureRecord>(figures).subspan(item.first, item.count);
  }
  std::span<const TextLine> TextsOf(const Item& item) const {
    return std::span<const TextLine>(texts).subspan(item.first, item.count);
  }
  const InsertRecord& InsertOf(const Item& item) const { return inserts[item.first]; }
  InsertRecord& InsertOf(const Item& item) { return inserts[item.first]; }
  const BalloonRecord& BalloonOf(const Item& item) const { return balloons[item.first]; }
};

struct LayerRecord {
  std::string name;
  int aci = 7;
  int trueColor = -1;
  std::string lineType = "CONTINUOUS";
  bool hidden = false;  // off (negative colour) or frozen
};

struct Model {
  NameTable names;                                           // what the styles' views point to
  std::vector<LayerRecord> layers;                           // in the order of the table
  std::map<std::string, std::unique_ptr<Container>> blocks;  // by name in capitals
  Container modelSpace;
  std::vector<SourceEntity> entities;  // every entity of the ENTITIES section, in file order
  size_t curveLines = 0;               // the lines splines and ellipses became, blocks' too
  int coarserCurves = 0;  // curves drawn coarser than the chord tolerance (kFinestChordPart)
};

}  // namespace twinfind::dxf

#endif  // DXF_DXF_MODEL_H
