// A block reference as the host holds it: the figures of its block (and of the blocks those
// reference, to any depth) placed in drawing coordinates, with the texts and balloons it
// shows. A reference that mirrors (a negative scale, or seen from below) flips its arcs'
// directions as the host's own mirror does. A reference that scales x and y differently
// would turn circles and arcs into ellipses, which the host cannot hold: those are counted,
// the lines and points are placed.
#ifndef DXF_BLOCK_FLATTENING_H
#define DXF_BLOCK_FLATTENING_H

#include <map>
#include <string>
#include <vector>

#include "dxf/dxf_model.h"
#include "dxf/style_resolver.h"
#include "host/transform.h"

namespace twinfind::dxf {

// Limits that keep a hostile file from making the import endless.
inline constexpr int kMaxBlockDepth = 32;
inline constexpr long long kMaxArrayCopies = 100000;
inline constexpr size_t kMaxFlattenedFigures = 2000000;
// Steps of flattening (a block entered, an entity of it looked at, an array copy made): nested
// arrays multiply, and without a bound a small file could keep the import busy for days.
inline constexpr size_t kMaxFlattenWork = 10000000;

struct FlatFigure {
  FigureRecord figure;
  LineAttr attr;
};

// A text or a balloon, in the order the block holds them.
struct FlatComment {
  bool isBalloon = false;
  TextLine text;
  BalloonRecord balloon;
};

struct Flattened {
  std::vector<FlatFigure> figures;
  std::vector<FlatComment> comments;
};

// What the flattening could not place, by type, and the line types it did not know.
struct FlattenCounts {
  std::map<std::string, int> notHeld;
  std::map<std::string, int> unknownLineTypes;
  size_t figures = 0;  // placed so far, against kMaxFlattenedFigures
  size_t work = 0;     // steps so far, against kMaxFlattenWork
};

// Adds to a count without running past the largest int.
void AddCount(std::map<std::string, int>& counts, const std::string& key, long long n);

// The placement of one copy of a reference (column, row of an array) in its parent's
// coordinates.
vexhost::Placement PlacementOf(const InsertRecord& insert, double baseX, double baseY, int column,
                               int row);

// The placements a reference stands for: one, or one per copy of its array.
std::vector<vexhost::Placement> CopiesOf(const InsertRecord& insert, double baseX, double baseY);

class BlockFlattener {
 public:
  BlockFlattener(const Model& model, const StyleResolver& styles, FlattenCounts& counts)
      : model_(model), styles_(styles), counts_(counts) {}

  // One copy of a reference of model space, placed by `placement` (from CopiesOf); its
  // attribute texts are added by the caller.
  Flattened Flatten(const Item& reference, const vexhost::Placement& placement);

 private:
  void AddBlock(const Container& block, const vexhost::Placement& world, const BlockLook& look,
                int depth, Flattened& out);
  void AddItem(const Item& item, const vexhost::Placement& world, const BlockLook& look, int depth,
               Flattened& out);

  const Model& model_;
  const StyleResolver& styles_;
  FlattenCounts& counts_;
  // False, and the limit counted once per reference, when the work limit has been reached.
  bool Afford(size_t steps);

  std::vector<const Container*> open_;  // blocks being flattened, to refuse one holding itself
  long long holdsItself_ = 0;           // references refused so, counted once per reference
  bool limitCounted_ = false;
};

// The composition: a point goes through `inner` first, then `outer`.
vexhost::Placement Compose(const vexhost::Placement& outer, const vexhost::Placement& inner);

// True when the placement keeps shapes (turns, mirrors and scales x and y alike).
bool KeepsShapes(const vexhost::Placement& p);

// A text line or balloon under a placement that keeps or distorts shapes.
TextLine PlaceTextLine(const TextLine& line, const vexhost::Placement& p);
BalloonRecord PlaceBalloon(const BalloonRecord& balloon, const vexhost::Placement& p);

}  // namespace twinfind::dxf

#endif  // DXF_BLOCK_FLATTENING_H
