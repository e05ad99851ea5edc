// A block reference as the host holds it: the figures of its block (and of the blocks those
// reference, to any depth) placed in drawing coordinates, with the texts and balloons it
// shows. A reference that mirrors (a negative scale, or seen from below) flips its arcs'
// directions as the host's own mirror does. A reference that scales x and y differently
// would turn circles and arcs into ellipses, which the host cannot hold: those are counted,
// the lines and points are placed.
//
// Nested blocks multiply: 31 levels of a block holding two references of the next draw two
// billion lines from a file of 4 KB, and so do arrays of arrays. Before a reference is
// flattened, what it would place is worked out from its block (once per block), and a
// reference that would pass what an import may place is left out whole, with its block named.
// What is placed is weighed by the work it makes, in figures: a text (or a balloon) weighs
// more than a figure, and its characters add to it, so that doubling blocks of texts or of
// long texts end within the same bounds as doubling blocks of lines.
#ifndef DXF_BLOCK_FLATTENING_H
#define DXF_BLOCK_FLATTENING_H

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "dxf/dxf_model.h"
#include "dxf/style_resolver.h"
#include "host/transform.h"

namespace twinfind::dxf {

// Limits that keep a hostile file from making the import endless.
inline constexpr int kMaxBlockDepth = 32;
inline constexpr long long kMaxArrayCopies = 100000;

// The weight of what is placed, in figures: a figure weighs 1; a text (one line of one) weighs
// kTextWeight and one more per character; a balloon the same, its rows' characters counted.
inline constexpr uint64_t kTextWeight = 16;
uint64_t WeightOf(const TextLine& text);
uint64_t WeightOf(const BalloonRecord& balloon);

// What the references of one import may place from blocks, all together.
struct FlattenLimits {
  uint64_t weight = 2000000;   // of the figures, texts and balloons
  uint64_t copies = 10000000;  // block copies entered (a block with nothing to draw costs too)
};

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
  uint64_t weight = 0;  // of what was placed so far, against FlattenLimits::weight
  uint64_t copies = 0;  // entered so far, against FlattenLimits::copies
};

// What one copy of a block places at most: elements (figures, texts, balloons), their weight,
// and the block copies it enters (nested ones, not itself).
struct BlockTotals {
  uint64_t elements = 0;
  uint64_t weight = 0;
  uint64_t copies = 0;
};

// Adds to a count without running past the largest int.
void AddCount(std::map<std::string, int>& counts, const std::string& key, long long n);

// The placement of one copy of a reference (column, row of an array) in its parent's
// coordinates.
PlaneMap PlacementOf(const InsertRecord& insert, double baseX, double baseY, int column, int row);

// The placements a reference stands for: one, or one per copy of its array; none for an array
// of more than kMaxArrayCopies.
std::vector<PlaneMap> CopiesOf(const InsertRecord& insert, double baseX, double baseY);

class BlockFlattener {
 public:
  BlockFlattener(const Model& model, const StyleResolver& styles, FlattenCounts& counts,
                 const FlattenLimits& limits)
      : model_(model), styles_(styles), counts_(counts), limits_(limits) {}

  // What one copy of the block places at most (worked out once per block).
  BlockTotals TotalsOf(const Container& block);

  // Whether a reference of model space whose `copies` copies of `block` are to be flattened
  // fits in what the import may still place: empty when it does, else why not (naming the
  // block, the reason its count gives).
  std::string Refusal(const Container& block, size_t copies);

  // One copy of a reference of model space, placed by `placement` (from CopiesOf); its
  // attribute texts are added by the caller. False, and nothing counted, when it placed more
  // than the import may (a block that holds itself can make it so).
  bool Flatten(const Item& reference, const Container& block, const PlaneMap& placement,
               Flattened& out);

 private:
  void AddBlock(const Container& block, const PlaneMap& world, const BlockLook& look, int depth,
                Flattened& out);
  void AddItem(const Container& block, const Item& item, const PlaneMap& world,
               const BlockLook& look, int depth, Flattened& out);
  void AddReference(const Container& parent, const Item& item, const PlaneMap& world,
                    const BlockLook& look, int depth, Flattened& out);
  // Takes n from what the import may still place; false (and the flattening stops) past it.
  bool Spend(uint64_t& used, uint64_t limit, uint64_t n);

  const Model& model_;
  const StyleResolver& styles_;
  FlattenCounts& counts_;
  FlattenLimits limits_;
  std::unordered_map<const Container*, BlockTotals> totals_;

  FlattenCounts local_;                 // counts of the copy being flattened
  std::vector<const Container*> open_;  // blocks being flattened, to refuse one holding itself
  long long holdsItself_ = 0;           // references refused so, counted once per reference
  bool overflow_ = false;
};

// True when the placement keeps shapes (turns, mirrors and scales x and y alike).
bool KeepsShapes(const PlaneMap& p);

// A text line or balloon under a placement that keeps or distorts shapes.
TextLine PlaceTextLine(const TextLine& line, const PlaneMap& p);
BalloonRecord PlaceBalloon(const BalloonRecord& balloon, const PlaneMap& p);

// Every point and size of a placed text or balloon lies within the drawing's reach (the host
// refuses the others), and a text's sizes are positive.
bool UsableText(const TextLine& line);
bool UsableBalloon(const BalloonRecord& balloon);

// Every copy of the reference puts its block's base point within the drawing's reach under
// `parent` (the placement of the block that holds the reference).
bool CopiesWithinReach(const InsertRecord& insert, const Container& block, const PlaneMap& parent);

}  // namespace twinfind::dxf

#endif  // DXF_BLOCK_FLATTENING_H
