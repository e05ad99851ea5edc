// The in-memory drawing database of our VexLib: segments, the elements they hold, layers,
// the blink set.
#ifndef HOST_DRAWING_H
#define HOST_DRAWING_H

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "host/comment.h"
#include "host/id_table.h"
#include "host/spatial_index.h"
#include "host/transform.h"
#include "vexlib/vexlib.h"

namespace vexhost {

struct SegmentImage;

// The hole record a segment may carry: the record's fixed fields and its items.
struct HoleRecord {
  HoleData header{};  // items and itemCount are filled when the record is handed out
  std::vector<HoleItem> items;
};

// An element's comment, held apart from it, so that the many figure elements stay small; used
// as an optional is (tested, dereferenced, assigned), and copied with its element.
class CommentBox {
 public:
  CommentBox() = default;
  CommentBox(const CommentBox& other)
      : comment_(other.comment_ ? std::make_unique<Comment>(*other.comment_) : nullptr) {}
  CommentBox(CommentBox&&) noexcept = default;
  CommentBox& operator=(const CommentBox& other) {
    if (this != &other)
      comment_ = other.comment_ ? std::make_unique<Comment>(*other.comment_) : nullptr;
    return *this;
  }
  CommentBox& operator=(CommentBox&&) noexcept = default;
  CommentBox& operator=(Comment comment) {
    comment_ = std::make_unique<Comment>(std::move(comment));
    return *this;
  }
  explicit operator bool() const { return comment_ != nullptr; }
  bool has_value() const { return comment_ != nullptr; }
  Comment& operator*() { return *comment_; }
  const Comment& operator*() const { return *comment_; }
  Comment* operator->() { return comment_.get(); }
  const Comment* operator->() const { return comment_.get(); }
  void reset() { comment_.reset(); }

 private:
  std::unique_ptr<Comment> comment_;
};

struct Element {
  int id = 0;
  int segmentId = 0;
  int type = 0;  // VEX_ELEMENT_*
  FigureRecord figure{};
  std::optional<LineAttr> lineAttr;  // figures carry one; other elements may not
  CommentBox comment;                // texts and balloons
};

// What a segment was when the baseline was marked: enough to tell later whether it is as it
// was, changed only in the colour or line type of its figures, or changed in another way.
struct SegmentFingerprint {
  int kind = 0;
  int layer = 0;
  uint32_t attributes = 0;
  uint64_t shape = 0;  // its elements: figures, texts, balloons
  uint64_t look = 0;   // the colour and line type of its figures
};

// What became of the drawing since the baseline was marked (after an import: the file as
// read). Segment ids in drawing order.
struct BaselineChanges {
  std::vector<int> kept;      // as they were
  std::vector<int> restyled;  // only the colour or line type of figures changed
  std::vector<int> reshaped;  // changed otherwise: figures, texts, layer or attributes
  std::vector<int> deleted;   // no longer in the drawing
  std::vector<int> added;     // lasting segments with elements made since
};

// A segment made since the baseline as a copy of a baseline segment, and only moved, turned,
// scaled or mirrored since: the baseline segment it copies and the placement that takes that
// segment's baseline figures onto it.
struct CopyOrigin {
  int source = 0;
  PlaneMap placement;
  bool restyled = false;  // its colours or line types differ from the source's at the baseline
};

struct Segment {
  int id = 0;
  int auxId = 0;
  int kind = VEX_SEGMENT_FIGURES;
  int life = VEX_LIFE_LASTING;
  int layer = 0;
  uint32_t attributes = 0;    // bit n set: the segment carries attribute n
  int holeId = 0;             // 0: no hole record
  std::vector<int> elements;  // in drawing order
};

class Drawing {
 public:
  // The id of the open drawing; every segment carries it as its auxId.
  static constexpr int kDrawingId = 1;

  Drawing();
  ~Drawing();
  Drawing(Drawing&&) noexcept;
  Drawing& operator=(Drawing&&) noexcept;

  // A new empty segment on the current layer; -1 for an unknown kind or lifetime.
  int CreateSegment(int kind, int life);
  // Removes a segment with its elements; false for an unknown id.
  bool DeleteSegment(int segmentId);
  // Removes every temporary segment.
  void EraseTemporary();

  // A caller that changes what a non-const find gave calls WillChange first (undo's journal).
  Segment* FindSegment(int segmentId);
  const Segment* FindSegment(int segmentId) const;
  Element* FindElement(int elementId);
  const Element* FindElement(int elementId) const;

  // A new figure at the end of a segment of figures (or right after `afterElementId` when it
  // is given), with the current line attribute; its element id, -1 when the segment cannot
  // hold it, the figure's kind is unknown or it lies beyond the drawing's reach.
  int AddFigure(int segmentId, const FigureRecord& figure, int afterElementId = 0);

  // A new text (type 33) or balloon (type 36) at the end of a segment of comments; its element
  // id, -1 when the segment cannot hold it.
  int AddComment(int segmentId, Comment comment);
  // Replaces the comment of a comment element (a changed size, say).
  bool ReplaceComment(int elementId, Comment comment);
  // Moves, turns, scales or mirrors every figure and comment of a segment. False, changing
  // nothing, when that would take any of them beyond the drawing's reach.
  bool PlaceSegment(int segmentId, const PlaneMap& placement);
  bool CanPlace(int segmentId, const PlaneMap& placement) const;

  // Replaces every figure of a segment by what `change` makes of it (a figure of the same
  // element type), and updates the segment's extent once. False for an unknown segment.
  bool UpdateFigures(int segmentId, const std::function<FigureRecord(const FigureRecord&)>& change);
  // Reverses the order of a segment's elements.
  bool ReverseElementOrder(int segmentId);

  // A lasting copy of a segment: same kind, layer, attributes, figures with their line
  // attributes, and a copy of its hole record. Its id, -1 for an unknown segment.
  int CopySegment(int segmentId);

  // Hole records: attaching one to a segment (replacing any it had) gives its hole id.
  int AttachHole(int segmentId, const HoleData& header, std::vector<HoleItem> items);
  const HoleRecord* FindHole(int holeId) const;

  // The segments in drawing order (ascending id).
  std::vector<int> SegmentIds() const;
  // The segments whose extents meet the area, in drawing order (an index narrows them).
  std::vector<int> SegmentsNear(const VexBox& area) const { return index_.Query(area); }
  // For a reader adding a whole drawing: no index is kept until BuildIndex, which builds it at
  // once; no search may run in between.
  void DeferIndex();
  void BuildIndex();
  size_t SegmentCount() const { return segments_.size(); }
  size_t ElementCount() const { return elements_.size(); }

  // The exact extent of a segment's figures; nothing when it has none.
  std::optional<VexBox> SegmentBounds(int segmentId) const;
  // The same extent as computed afresh from the figures, for checks of the cached one.
  std::optional<VexBox> ComputeBounds(int segmentId) const;

  // Layers: any number is a layer; layers are visible unless hidden.
  int currentLayer() const { return currentLayer_; }
  void SetCurrentLayer(int layer) { currentLayer_ = layer; }
  bool LayerVisible(int layer) const { return hiddenLayers_.count(layer) == 0; }
  const std::set<int>& hiddenLayers() const { return hiddenLayers_; }
  void SetLayerVisible(int layer, bool visible);

  // Names of layers that came with a drawing (a layer without one is named by its number).
  void SetLayerName(int layer, std::string name) { layerNames_[layer] = std::move(name); }
  const std::map<int, std::string>& layerNames() const { return layerNames_; }
  // Colour numbers (0..15) of layers that came with a drawing with a colour of their own.
  void SetLayerColor(int layer, int color) { layerColors_[layer] = color; }
  const std::map<int, int>& layerColors() const { return layerColors_; }

  // The line attribute new figures get.
  const LineAttr& currentLineAttr() const { return currentLineAttr_; }
  void SetCurrentLineAttr(const LineAttr& attr) { currentLineAttr_ = attr; }

  // Marks the drawing as it is now as the baseline that later changes are told against (an
  // importer marks the drawing it has read). Forgets any earlier baseline.
  void MarkBaseline();
  // What changed since the baseline; every lasting segment counts as added without one.
  BaselineChanges ChangesSinceBaseline() const;
  // The segment's fingerprint now, and as it was at the baseline (nothing for a segment that
  // is not a baseline segment).
  std::optional<SegmentFingerprint> FingerprintOf(int segmentId) const;
  std::optional<SegmentFingerprint> BaselineFingerprintOf(int segmentId) const;
  // Where a segment made since the baseline comes from, when it is a placed copy of a baseline
  // segment on that segment's layer with its attributes; nothing otherwise.
  std::optional<CopyOrigin> CopyOriginOf(int segmentId) const;

  // Undo and redo (drawing_journal.cpp). Between StartJournal and TakeJournal the drawing keeps
  // an image of each lasting segment as it was before its first change (or before it was made):
  // each method of the drawing that changes a segment notes it first, and whoever changes what
  // a non-const Find gave calls WillChange before. TakeJournal hands the images over, in
  // ascending id, and stops keeping.
  void StartJournal();
  void WillChange(int segmentId);
  bool journaling() const { return journal_ != nullptr; }
  std::vector<SegmentImage> TakeJournal();
  // A lasting segment as it is now (an image of nothing for an unknown id).
  SegmentImage ImageOf(int segmentId) const;
  // Puts each segment back as its image holds it, removing those the image says did not exist.
  // The temporary drawing and the blinking go; the layers' visibility, the current layer and
  // line attribute and the baseline stay; ids go on counting past every id used.
  void RestoreImages(const std::vector<SegmentImage>& images);

  // The blinking segments.
  const std::set<std::pair<int, int>>& blinking() const { return blink_; }  // {auxId, id}
  bool Blink(const SegmentRef& ref);
  void ClearBlink() { blink_.clear(); }

 private:
  // Removes a segment with its elements, hole record and copy note, unnoted.
  void RemoveSegment(int segmentId);
  void Reindex(int segmentId);
  // Widens the extent of a segment that has just gained an element by that element alone.
  void GrowBounds(int segmentId, const std::optional<VexBox>& added);
  // The segment's content changed in a way other than a placement: it is no copy any more.
  void ForgetOrigin(int segmentId) { origins_.erase(segmentId); }
  // Notes a copy, and a placement of a copy, for CopyOriginOf.
  void NoteCopy(int sourceId, int copyId);
  void NotePlacement(int segmentId, const PlaneMap& placement);

  IdTable<Segment> segments_;
  SpatialIndex index_;  // the extents of segments with figures, and where they lie
  std::map<int, HoleRecord> holes_;
  int nextHoleId_ = 1;
  IdTable<Element> elements_;
  std::set<int> temporaries_;  // the temporary segments
  int nextSegmentId_ = 1;
  int nextElementId_ = 1;
  int currentLayer_ = 0;
  LineAttr currentLineAttr_{};
  std::set<int> hiddenLayers_;
  std::map<int, std::string> layerNames_;
  std::map<int, int> layerColors_;
  std::set<std::pair<int, int>> blink_;
  bool hasBaseline_ = false;
  std::vector<std::pair<int, SegmentFingerprint>> baseline_;  // by ascending id
  std::unordered_map<int, CopyOrigin> origins_;               // copies made since the baseline
  struct Journal;                     // the images noted (drawing_journal.cpp)
  std::unique_ptr<Journal> journal_;  // while a result action runs
};

// The element type of a figure kind; -1 for an unknown kind.
int ElementTypeOfFigure(int figureKind);

// How far an element reaches: a figure's exact extent, a comment's box.
std::optional<VexBox> ElementBounds(const Element& element);

}  // namespace vexhost

#endif  // HOST_DRAWING_H
