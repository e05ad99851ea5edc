#include "engine/find_matches.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <utility>
#include <vector>

#include "common/message_format.h"
#include "engine/engine_texts.h"
#include "engine/geometry.h"
#include "engine/host_lists.h"
#include "engine/placement.h"
#include "engine/segment_compare.h"
#include "engine/shape_model.h"

namespace twinfind {
namespace {

constexpr int kCandidateFigureCapacity = 1000;
FigureRecord candidateFigures[kCandidateFigureCapacity];
WorkTable keptWindow;  // scratch for removing duplicates
SearchStats stats;

LineAttr HeadLineAttr(int segmentId) {
  LineAttr attr{};
  VexFigGetLineType2(VexSgmGetHeadElementId(segmentId), &attr);
  return attr;
}

bool SameLineAttr(const LineAttr& a, const LineAttr& b) {
  return a.color == b.color && a.lineType == b.lineType && a.attribute == b.attribute;
}

// The layer and line-attribute conditions the options ask for.
bool AttributesAgree(const SearchOptions& options, const SegmentRef& a, const SegmentRef& b) {
  if (options.sameLayer && VexSgmGetLayer(a.segmentId) != VexSgmGetLayer(b.segmentId)) {
    return false;
  }
  return !options.sameLineAttr ||
         SameLineAttr(HeadLineAttr(a.segmentId), HeadLineAttr(b.segmentId));
}

bool IsCopy(const SegmentRef& ref) {
  for (int i = 1; i <= copyTable.count(); ++i) {
    if (copyTable[i].ref == ref) return true;
  }
  return false;
}

void OpenEmptyClose(int list) {
  const int handle = VexIddOpenApIdData(list, 1);
  VexIddInitApIdData(handle);
  CloseList(handle);
}

// Reads a list into a work table; a record of a trial copy is skipped when `skipCopies` is set,
// so that a copy never stands in for a drawing segment. Overflow: the box, and false.
bool ReadList(int list, WorkTable& table, const char16_t* overflowText, bool emptyAfter,
              bool skipCopies) {
  table.Clear();
  const int handle = VexIddOpenApIdData(list, 1);
  VexIdRecord record{};
  bool fits = true;
  for (int r = VexIddGetHeadApIdData(handle, &record); r != -1;
       r = VexIddGetNextApIdData(handle, &record)) {
    if (skipCopies && IsCopy(RefOfRecord(record))) continue;
    if (!table.Append(MakeTargetEntry(record))) {
      VexDlgMessageBox(overflowText);
      fits = false;
      break;
    }
  }
  if (emptyAfter) VexIddInitApIdData(handle);
  CloseList(handle);
  return fits;
}

// The trial copies that exist now, whatever table they are in: the search deletes these and
// nothing else (the lists it uses also serve others, such as the arrangement's copy list).
std::vector<int> liveCopies;

// The copy call makes one copy for every segment of the part. A list read that comes back
// short (the host failed to open it, or to give a record) is read once more, so that no copy
// goes unnoted and stays in the drawing.
void NoteCopies(int list) {
  std::vector<int> noted;
  for (int attempt = 0; attempt < 2 && noted.size() < static_cast<size_t>(partTable.count());
       ++attempt) {
    noted.clear();
    const int handle = VexIddOpenApIdData(list, 1);
    VexIdRecord record{};
    for (int r = VexIddGetHeadApIdData(handle, &record); r != -1;
         r = VexIddGetNextApIdData(handle, &record)) {
      noted.push_back(record.segmentId);
    }
    CloseList(handle);
  }
  liveCopies.insert(liveCopies.end(), noted.begin(), noted.end());
}

// A delete that fails is tried once more: a copy left behind would be taken for the user's.
void DeleteCopies() {
  for (const int id : liveCopies) {
    if (VexSgmDeleteSegment(id) == -1 && VexSgmGetType(id) != -1) VexSgmDeleteSegment(id);
  }
  liveCopies.clear();
  copyTable.Clear();
}

// Coordinates of copies and drawing segments agree within the larger of the comparison's own
// tolerance and the search's.
double CoordinateTolerance(const SearchOptions& options) {
  return std::max(COINCIDE_EPS, options.tolerance);
}

// The figures of a table's segments, each read from the host the first time it is asked for:
// within one trial a segment is compared with many others, and the drawing does not change.
class FiguresOnce {
 public:
  // `storage` is kept by the caller from one trial to the next, so that reading allocates
  // only while it grows.
  FiguresOnce(const WorkTable& table, std::vector<SegmentFigures>& storage)
      : table_(table), storage_(storage), read_(static_cast<size_t>(table.count()) + 1, false) {
    if (storage_.size() < read_.size()) storage_.resize(read_.size());
  }
  const SegmentFigures& operator[](int i) {
    const size_t at = static_cast<size_t>(i);
    if (!read_[at]) {
      ReadSegmentFigures(table_[i].ref, storage_[at]);
      read_[at] = true;
    }
    return storage_[at];
  }

 private:
  const WorkTable& table_;
  std::vector<SegmentFigures>& storage_;
  std::vector<bool> read_;
};

std::vector<SegmentFigures> copyFigures, windowFigures;

// Pairs each copy with the first unpaired window segment that passes the attribute conditions
// and coincides with it.
void Pair(const SearchOptions& options) {
  const double tolerance = CoordinateTolerance(options);
  FiguresOnce copies(copyTable, copyFigures), window(windowTable, windowFigures);
  for (int c = 1; c <= copyTable.count(); ++c) {
    for (int w = 1; w <= windowTable.count(); ++w) {
      TargetEntry& entry = windowTable[w];
      if (entry.used != 0 || !AttributesAgree(options, copyTable[c].ref, entry.ref)) continue;
      if (SegmentsCoincide(copies[c], window[w], tolerance)) {
        copyTable[c].used = 1;
        entry.used = 1;
        break;
      }
    }
  }
}

// The counts that decide a trial, taken after pairing:
//   nC  segments of the trial copy (copyTable): one per segment of the part;
//   aC  of those, the ones with attribute 5, which are carried along but never counted;
//   nW  drawing segments found in the window (windowTable);
//   aW  of those, the ones with attribute 5;
//   pW  window segments paired with a copy segment (same figures in the same place).
// nC - aC is the number of part segments that must be found. The copy is a twin when
//   nC - aC == pW - aW   every counted copy segment found its own drawing segment, and
//   nC - aC == nW - aW   the window holds nothing else (after the direct trial has forgiven
//                        segments lying outside the copy's outline, and the mirror trial
//                        segments coinciding with a paired one).
// aW counts every attribute-5 window segment, paired or not, so an unpaired one in the window
// makes the first equality fail: such a window is never a twin.
struct Counts {
  int nC = 0, aC = 0, nW = 0, aW = 0, pW = 0;
};

Counts Count() {
  Counts k;
  k.nC = copyTable.count();
  for (int i = 1; i <= copyTable.count(); ++i) k.aC += copyTable[i].hasAttr5;
  k.nW = windowTable.count();
  for (int i = 1; i <= windowTable.count(); ++i) {
    k.aW += windowTable[i].hasAttr5;
    k.pW += windowTable[i].used;
  }
  return k;
}

// A trial decides only on a whole copy: one copy for every segment of the part. When the host
// could not list them all, the counts would compare a part of the copy, or nothing at all.
bool AllCopiesRead() { return copyTable.count() == partTable.count(); }

// Unpaired window segments that lie outside the first copy able to tell.
int OutsideExtras() {
  int extras = 0;
  for (int w = 1; w <= windowTable.count(); ++w) {
    if (windowTable[w].used != 0) continue;
    for (int c = 1; c <= copyTable.count(); ++c) {
      const InsideAnswer answer = IsInsideClosedSegment(copyTable[c].ref, windowTable[w].ref);
      if (!answer.handled) continue;
      if (!answer.inside) ++extras;
      break;
    }
  }
  return extras;
}

// Drops the unpaired window segments that coincide with a paired one.
void RemoveDuplicates(double tolerance) {
  FiguresOnce window(windowTable, windowFigures);
  keptWindow.Clear();
  for (int w = 1; w <= windowTable.count(); ++w) {
    bool duplicate = false;
    if (windowTable[w].used == 0) {
      for (int v = 1; v <= windowTable.count() && !duplicate; ++v) {
        duplicate = windowTable[v].used != 0 && SegmentsCoincide(window[w], window[v], tolerance);
      }
    }
    if (!duplicate) keptWindow.Append(windowTable[w]);
  }
  windowTable.Clear();
  for (int w = 1; w <= keptWindow.count(); ++w) windowTable.Append(keptWindow[w]);
}

// One search run: its index of the range and what it had to leave out.
class Search {
 public:
  explicit Search(const SearchOptions& options) : options_(options) {
    for (int t = 1; t <= targetTable.count(); ++t) {
      targetsOfSegment_[targetTable[t].ref.segmentId].push_back(t);
    }
  }
  // Whatever happens, no trial copy stays and lists 6 to 8 end empty.
  ~Search() {
    DeleteCopies();
    for (const int list : {kRotatedCopyList, kWindowList, kMirroredCopyList}) OpenEmptyClose(list);
  }
  Search(const Search&) = delete;
  Search& operator=(const Search&) = delete;

  bool Run();
  void ReportLeftOut() const {
    if (leftOutMatches_ > 0) {
      VexDlgMessageBox(FormatInt(texts::kMatchesLeftOut, leftOutMatches_).c_str());
    }
  }

 private:
  enum class Trial { kAccepted, kFailed, kStopped };

  bool IsCandidate(const TargetEntry& t, const FigureRecord& f, double& theta) const;
  Trial TryCandidate(VexPoint start, VexPoint end, double theta);
  Trial MirrorTrial(VexPoint start, VexPoint end, const VexBox& window);
  void Accept(bool mirrored);

  const SearchOptions options_;
  std::unordered_map<int, std::vector<int>> targetsOfSegment_;
  int leftOutMatches_ = 0;
};

bool Search::IsCandidate(const TargetEntry& t, const FigureRecord& f, double& theta) const {
  if (f.kind != VEX_FIG_LINE) return false;
  const VexPoint start{f.u.line.x1, f.u.line.y1}, end{f.u.line.x2, f.u.line.y2};
  if (std::fabs(VexAriLen2Pnts(&start, &end) - anchorLine.length) >= options_.tolerance) {
    return false;
  }
  if (options_.sameLayer && VexSgmGetLayer(t.ref.segmentId) != anchorLine.layer) return false;
  if (options_.sameLineAttr && !SameLineAttr(HeadLineAttr(t.ref.segmentId), anchorLine.lineAttr)) {
    return false;
  }
  theta = LineAngle(start, end);
  return options_.rotate || std::fabs(theta - anchorLine.angle) < options_.tolerance;
}

Search::Trial Search::TryCandidate(VexPoint start, VexPoint end, double theta) {
  ++stats.candidates;
  const double dTheta = theta - anchorLine.angle;
  const VexBox window = PlacementWindow(dTheta, anchorLine.start, start, partBox);
  ResetList(kWindowList);
  windowTable.Clear();
  if (VexSgmSearchSegment2(&window, CompareElementType, kWindowList) == 0 &&
      !ReadList(kWindowList, windowTable, texts::kWindowOverflowT03, true, false)) {
    return Trial::kStopped;
  }
  ResetList(kRotatedCopyList);
  copyTable.Clear();
  if (VexSgmEditSegment2(kWorkList, &anchorLine.start, &start, dTheta * 180.0 / kPi, 1.0, 0,
                         kRotatedCopyList) == -1) {
    VexMsgPutErrorMessage(texts::kCopyErrorT03);
    return Trial::kStopped;
  }
  NoteCopies(kRotatedCopyList);
  if (!ReadList(kRotatedCopyList, copyTable, texts::kCopyOverflowT04, false, false)) {
    return Trial::kStopped;
  }
  Pair(options_);
  const Counts k = Count();
  const int copies = k.nC - k.aC;
  if (AllCopiesRead() && copies == k.pW - k.aW &&
      (copies == k.nW - k.aW || copies == k.nW - k.aW - OutsideExtras())) {
    Accept(false);
    return Trial::kAccepted;
  }
  if (options_.mirror) return MirrorTrial(start, end, window);
  DeleteCopies();
  return Trial::kFailed;
}

Search::Trial Search::MirrorTrial(VexPoint start, VexPoint end, const VexBox& window) {
  ++stats.mirrorTrials;
  const VexBox mirrorWindow = MirrorWindow(start, end, window);
  ResetList(kWindowList);
  windowTable.Clear();
  // The turned copies are still in the drawing here; they must not join the window.
  if (VexSgmSearchSegment4(&mirrorWindow, CompareElementType, kWindowList) == 0 &&
      !ReadList(kWindowList, windowTable, texts::kMirrorOverflowT05, true, true)) {
    return Trial::kStopped;
  }
  const double phi = LineAngle(start, end);
  const VexPoint p2{start.x + std::cos(phi), start.y + std::sin(phi)};
  ResetList(kMirroredCopyList);
  if (VexSgmMirrorSegment2(kRotatedCopyList, &start, &p2, 0, 1, kMirroredCopyList) == -1) {
    VexMsgPutErrorMessage(texts::kMirrorCopyError);
    return Trial::kStopped;
  }
  NoteCopies(kMirroredCopyList);  // the mirror images, whether new segments or the copies moved
  if (!ReadList(kMirroredCopyList, copyTable, texts::kMirrorOverflowT05, true, false)) {
    return Trial::kStopped;
  }
  Pair(options_);
  const Counts k = Count();
  RemoveDuplicates(CoordinateTolerance(options_));
  const int copies = k.nC - k.aC;
  if (AllCopiesRead() && copies == k.pW - k.aW && copies == windowTable.count() - k.aW) {
    Accept(true);
    return Trial::kAccepted;
  }
  DeleteCopies();
  return Trial::kFailed;
}

void Search::Accept(bool mirrored) {
  const bool fits = !matchTable.full();
  if (!fits) ++leftOutMatches_;
  MatchRecord record;
  record.mirrored = mirrored ? 1 : 0;
  for (int w = 1; w <= windowTable.count(); ++w) {
    const TargetEntry& entry = windowTable[w];
    if (entry.used == 0) continue;
    if (fits) record.AddSegment(entry.ref);
    const auto it = targetsOfSegment_.find(entry.ref.segmentId);
    if (it == targetsOfSegment_.end()) continue;
    for (const int t : it->second) {
      if (targetTable[t].used == 0 && targetTable[t].ref == entry.ref) targetTable[t].used = 1;
    }
  }
  if (fits) matchTable.Append(std::move(record));
  DeleteCopies();
}

bool Search::Run() {
  for (int t = 1; t <= targetTable.count(); ++t) {
    if (targetTable[t].used != 0) continue;
    const SegmentRef ref = targetTable[t].ref;
    const int count = VexFigGetFigure2(&ref, candidateFigures, kCandidateFigureCapacity);
    for (int k = 0; k < count; ++k) {
      double theta = 0.0;
      if (!IsCandidate(targetTable[t], candidateFigures[k], theta)) continue;
      const FigureLine& line = candidateFigures[k].u.line;
      const VexPoint start{line.x1, line.y1}, end{line.x2, line.y2};
      Trial trial = TryCandidate(start, end, theta);
      // Turned twins may have the line that matches the anchor drawn from its other end: the
      // same trials once more, from the end point towards the start point.
      if (trial == Trial::kFailed && options_.rotate) {
        ++stats.reversedCandidates;
        trial = TryCandidate(end, start, LineAngle(end, start));
      }
      if (trial == Trial::kStopped) return false;
      if (trial == Trial::kAccepted) break;
    }
  }
  return true;
}

}  // namespace

const SearchStats& LastSearchStats() { return stats; }

bool FindMatches(const SearchOptions& options) {
  stats = SearchStats{};
  Search search(options);
  if (!search.Run()) return false;
  search.ReportLeftOut();
  return true;
}

}  // namespace twinfind
