// What the reader makes of a DXF file before anything reaches the host: layers, block
// definitions and the entities of model space, in the file's own terms (layer names, ACI
// colours, line-type names), with the entities the host cannot hold counted by type.
#ifndef DXF_DXF_MODEL_H
#define DXF_DXF_MODEL_H

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "dxf/dxf_source.h"
#include "vexlib/vexlib.h"

namespace twinfind::dxf {

// How an entity asks to be drawn, as written in the file.
struct Style {
  std::string layer = "0";
  int aci = 256;         // 256 BYLAYER, 0 BYBLOCK, 1..255 a colour
  int trueColor = -1;    // 0xRRGGBB when the entity gives one
  std::string lineType;  // empty or BYLAYER: the layer's; BYBLOCK: the insert's
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

// One entity of model space or of a block, as the host will take it.
struct Item {
  enum class Kind { kFigures, kTexts, kInsert, kBalloon };
  Kind kind = Kind::kFigures;
  std::string type;  // the DXF entity type
  Style style;
  std::vector<FigureRecord> figures;  // kFigures: one for LINE, ARC, ...; a polyline's pieces
  std::vector<TextLine> texts;        // kTexts: one TEXT line, or the lines of an MTEXT
  InsertRecord insert;                // kInsert
  BalloonRecord balloon;              // kBalloon
  uint32_t segmentAttributes = 0;     // carried in our extended data
  int source = -1;                    // model space: the entity of Model::entities it comes from
};

// Model space, or the contents of one block definition.
struct Container {
  std::string name;
  double baseX = 0, baseY = 0;
  std::vector<Item> items;
  std::map<std::string, int> notHeld;  // "TYPE" or "TYPE (why)" -> how many
};

struct LayerRecord {
  std::string name;
  int aci = 7;
  int trueColor = -1;
  std::string lineType = "CONTINUOUS";
  bool hidden = false;  // off (negative colour) or frozen
};

struct Model {
  std::vector<LayerRecord> layers;                           // in the order of the table
  std::map<std::string, std::unique_ptr<Container>> blocks;  // by name in capitals
  Container modelSpace;
  std::vector<SourceEntity> entities;  // every entity of the ENTITIES section, in file order
};

}  // namespace twinfind::dxf

#endif  // DXF_DXF_MODEL_H
