#include "engine/find_matches.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <utility>
#include <vector>

#include "common/message_format.h"
#include "common/said_texts.h"
#include "engine/candidate_placements.h"
#include "engine/geometry.h"
#include "engine/host_lists.h"
#include "engine/placement.h"
#include "engine/placement_fit.h"
#include "engine/segment_compare.h"
#include "engine/shape_model.h"
#include "engine/trial_copy.h"
#include "engine/trial_pairing.h"
#include "engine/trial_screen.h"
#include "engine/twin_turns.h"

namespace twinfind {
namespace {

constexpr int kCandidateFigureCapacity = 1000;
FigureRecord candidateFigures[kCandidateFigureCapacity];
// The most drawing segments the trial screen reads; around a larger range trials go to the host.
constexpr size_t kScreenCapacity = 200000;
// The range segments visited before the trials made are weighed against the screen's cost.
constexpr int kScreenAfterVisits = 32;
SearchStats stats;

void OpenEmptyClose(int list) {
  const int handle = VexIddOpenApIdData(list, 1);
  VexIddInitApIdData(handle);
  CloseList(handle);
}

// Reads a list into a work table. Overflow: the box, and false.
bool ReadList(int list, WorkTable& table, const char16_t* overflowText, bool emptyAfter) {
  table.Clear();
  const int handle = VexIddOpenApIdData(list, 1);
  VexIdRecord record{};
  bool fits = true;
  for (int r = VexIddGetHeadApIdData(handle, &record); r != -1;
       r = VexIddGetNextApIdData(handle, &record)) {
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

// The part as the copy call would copy it, read at a search's first trial, and the trial copy
// placed from it (copy c of copyTable is copyFigures[c - 1]).
std::vector<CopySource> copySources;
std::vector<SegmentFigures> copyFigures;
TrialPairing pairing;

// The window grown by the coordinate tolerance, so that a twin whose coordinates were rounded
// still lies wholly inside it.
VexBox Widened(const VexBox& w, double by) {
  return {w.minX - by, w.minY - by, w.maxX + by, w.maxY + by};
}

// One search run: its index of the range and what it had to leave out.
class Search {
 public:
  Search(const SearchOptions& options, const std::function<bool()>& goOn)
      : goOn_(goOn),
        options_(options),
        tolerance_(CoordinateTolerance(options)),
        placements_(options, tolerance_) {
    pairing.tolerance = tolerance_;
    for (int t = 1; t <= targetTable.count(); ++t) {
      targetsOfSegment_.push_back({targetTable[t].ref.segmentId, t});
    }
    std::sort(targetsOfSegment_.begin(), targetsOfSegment_.end());
  }
  // Whatever happens, lists 6 to 8 end empty (the search itself fills only 7, the window).
  ~Search() {
    copyTable.Clear();
    for (const int list : {kRotatedCopyList, kWindowList, kMirroredCopyList}) OpenEmptyClose(list);
  }
  Search(const Search&) = delete;
  Search& operator=(const Search&) = delete;

  bool Run();
  void ReportLeftOut() const {
    if (leftOutMatches_ > 0) {
      VexDlgMessageBox(FormatInt(Said(texts::kMatchesLeftOut), leftOutMatches_).c_str());
    }
  }

 private:
  enum class Trial { kAccepted, kFailed, kStopped };

  void PlacementsOf(const SegmentRef& ref, const std::vector<FigureRecord>& figures,
                    std::vector<Placement>& out) const {
    placements_.Of(ref, figures, out);
  }
  void PrepareScreen(int from);
  void OrderScreening();
  // A twin as the trial that fits found it: its segments, and for each the part segment (from
  // 0) whose copy it paired with; the motion that laid the copy.
  struct Found {
    std::vector<SegmentRef> segments;
    std::vector<int> partOf;
    PlaneMap motion;
    bool ownPlaceOnly = false;
  };
  Trial Place(const Placement& p, bool mirrored);
  Trial MirrorAccepted(Found found);
  Found PairedWindow(const PlaneMap& motion) const;
  bool OwnPlace() const;
  // Whether the part placed by `motion` lies where a twin found before lies.
  bool AtTwinFound(const PlaneMap& motion) const;
  void Accept(Found found, bool mirrored);
  void FindPartTurns();
  void PrepareFit();

  const std::function<bool()>& goOn_;
  std::chrono::steady_clock::time_point asked_ = std::chrono::steady_clock::now();
  const SearchOptions options_;
  const double tolerance_;
  const CandidatePlacements placements_;
  bool sourcesRead_ = false;  // the part read as a copy of it would be
  int counted_ = 0;           // the part's segments a twin must pair (all but attribute 5)
  TrialScreen screen_;
  int screened_ = 0, screenedOut_ = 0;  // trials screened, and failed by the screen
  int accepted_ = 0;                    // trials that found a twin
  std::vector<size_t> screenOrder_;     // the part's segments as the screen places them
  std::vector<std::pair<int, int>> targetsOfSegment_;  // (segment id, range entry), sorted

  int leftOutMatches_ = 0;
  bool inTwin_ = false;              // the candidate segment lies in a twin found before
  std::vector<VexPoint> centres_;    // of the twins found
  bool turnsFound_ = false;          // the part's turns onto itself, found at the first twin
  PartRegion region_;                // of the part, once it is read
  PlacementFit fit_;                 // the placements fitted to the whole part, once it is read
  double fitMargin_ = 0;             // how far a fitted placement may lay the part from the trial's
  std::vector<double> screenSlack_;  // per part segment, what the screen forgives beside
  PartTurns partTurns_;
};

// Places a copy of the part (mirrored across the placement's line when asked), takes the
// drawing segments lying wholly inside its window, pairs them with the copy and judges. A
// segment that crosses the window's edge is no part of a twin placed there (a plate edge across
// a slot's mouth, a line meeting the twin end to end) and does not count against it.
Search::Trial Search::Place(const Placement& p, bool mirrored) {
  if (mirrored) {
    ++stats.mirrorTrials;
  } else {
    ++stats.candidates;
    if (p.reversed) ++stats.reversedCandidates;
  }
  const double dTheta = p.theta - anchorLine.angle;
  // The copy, in the command's own memory: the part turned and moved so that its anchor lies on
  // the placement, then, for a mirror trial, mirrored across the placement's line.
  if (!sourcesRead_) {
    if (!ReadCopySources(kWorkList, copySources)) return Trial::kStopped;
    sourcesRead_ = true;
    OrderScreening();
    region_.Build(copySources, tolerance_);
    stats.cover = region_.Cover();
    pairing.forgiveHidden = std::all_of(copySources.begin(), copySources.end(), [](const auto& s) {
      return VexLyrGetVisibility(VexSgmGetLayer(s.ref.segmentId)) != 0;
    });
    PrepareFit();
  }
  const PlaneMap turn = PlaneMap::MoveTurnScale(anchorLine.start, p.start, dTheta * 180.0 / kPi);
  PlaneMap mirror;
  if (mirrored) {
    const double phi = LineAngle(p.start, p.end);
    PlaneMap::Mirror(p.start, {p.start.x + std::cos(phi), p.start.y + std::sin(phi)}, mirror);
  }
  const PlaneMap* then = mirrored ? &mirror : nullptr;
  // On a segment of a twin found before: only a placement elsewhere than that twin can give a
  // new one.
  if (inTwin_ && AtTwinFound(mirrored ? mirror.After(turn) : turn)) return Trial::kFailed;
  if (screen_.on()) {
    ++screened_;
    if (!screen_.MayFit(p.start, copySources, screenOrder_, turn, then, counted_,
                        WorkTable::kCapacity, screenSlack_)) {
      ++screenedOut_;
      return Trial::kFailed;
    }
    // Where most trials fit (twins side by side, few near twins), screening is only more work:
    // it stops once fewer than one trial in four has been spared.
    if (screened_ >= kScreenAfterVisits && screenedOut_ * 4 < screened_) screen_.Clear();
  }
  PlaceCopy(copySources, turn, then, copyFigures);
  const VexBox direct =
      Widened(PlacementWindow(dTheta, anchorLine.start, p.start, partBox), tolerance_ + fitMargin_);
  const VexBox window = mirrored ? MirrorWindow(p.start, p.end, direct) : direct;
  ResetList(kWindowList);
  windowTable.Clear();
  if (VexSgmSearchSegment4(&window, CompareElementType, kWindowList) == 0 &&
      !ReadList(kWindowList, windowTable,
                mirrored ? Said(texts::kMirrorOverflowT05) : Said(texts::kWindowOverflowT03),
                true)) {
    return Trial::kStopped;
  }
  pairing.ReadWindow();
  copyTable.Clear();
  for (const CopySource& source : copySources) copyTable.Append({source.ref, 0, source.hasAttr5});
  pairing.Pair(options_, copyFigures);
  PlaneMap motion = mirrored ? mirror.After(turn) : turn;
  if (!pairing.CopyPaired() && fitMargin_ > 0) {
    // Some part segment missed its twin: laid again by the fit over the whole part, the copy is
    // paired once more.
    if (const auto fitted =
            fit_.Refit(motion, pairing.window(), static_cast<size_t>(windowTable.count()))) {
      motion = *fitted;
      PlaceCopy(copySources, motion, nullptr, copyFigures);
      pairing.Unpair();
      pairing.Pair(options_, copyFigures);
    }
  }
  const bool fits = pairing.CopyFits(region_, motion);
  if (!fits && !OwnPlace()) {
    if (pairing.CopyPaired()) stats.crowded.push_back(PairedWindow(motion).segments);
    return Trial::kFailed;
  }
  pairing.TakeDoubles();
  if (mirrored) return MirrorAccepted(PairedWindow(motion));
  Found found = PairedWindow(motion);
  found.ownPlaceOnly = !fits;
  Accept(std::move(found), false);
  return Trial::kAccepted;
}

// The indicated part at its own place is found whatever lies around it: every copy segment
// paired with the very part segment it was copied from. What a window over the part left out,
// the user left out of the part.
bool Search::OwnPlace() const {
  if (!pairing.CopyPaired()) return false;
  for (int w = 1; w <= windowTable.count(); ++w) {
    const int c = pairing.PartnerOf(w);
    if (c > 0 && !(windowTable[w].ref == copySources[static_cast<size_t>(c - 1)].ref)) return false;
  }
  for (int c = 1; c <= copyTable.count(); ++c) {
    if (copyTable[c].hasAttr5 == 0 && copyTable[c].used == 0) return false;
  }
  return true;
}

bool Search::AtTwinFound(const PlaneMap& motion) const {
  const VexPoint centre = motion.Apply(region_.centre().x, region_.centre().y);
  const double reach = std::max(region_.inradius(), tolerance_);
  return std::any_of(centres_.begin(), centres_.end(), [&](const VexPoint& c) {
    return std::hypot(c.x - centre.x, c.y - centre.y) <= reach;
  });
}

Search::Found Search::PairedWindow(const PlaneMap& motion) const {
  Found found;
  found.motion = motion;
  for (int w = 1; w <= windowTable.count(); ++w) {
    if (windowTable[w].used == 0) continue;
    found.segments.push_back(windowTable[w].ref);
    found.partOf.push_back(pairing.PartnerOf(w) - 1);
  }
  return found;
}

// A mirrored copy fits. The twin is a mirror image only when no unmirrored placement on its
// own lines fits too: a part that is its own mirror image (a slot, a rectangle, a round pad)
// is found unmirrored, whichever of its lines the search came to first.
Search::Trial Search::MirrorAccepted(Found found) {
  std::vector<Placement> placements;
  std::vector<FigureRecord> figures;
  for (const SegmentRef& ref : found.segments) {
    // Read through the candidates' buffer, which the candidate loop has copied out of already.
    const int count = VexFigGetFigure2(&ref, candidateFigures, kCandidateFigureCapacity);
    figures.assign(candidateFigures, candidateFigures + std::max(count, 0));
    PlacementsOf(ref, figures, placements);
    for (const Placement& p : placements) {
      const Trial trial = Place(p, false);
      if (trial != Trial::kFailed) return trial;
    }
  }
  Accept(std::move(found), true);
  return Trial::kAccepted;
}

// The maps that lay the part's anchor on its own figures, as a trial on the part itself would
// be placed, and of those the turns that lay the whole part on itself.
void Search::FindPartTurns() {
  turnsFound_ = true;
  if (!options_.rotate ||
      (anchorLine.kind != VEX_FIG_LINE && anchorLine.turn == AnchorTurn::kNone)) {
    return;
  }
  std::vector<PlaneMap> tries;
  std::vector<Placement> placements;
  for (const CopySource& source : copySources) {
    PlacementsOf(source.ref, source.figures.figures, placements);
    for (const Placement& p : placements) {
      tries.push_back(PlaneMap::MoveTurnScale(anchorLine.start, p.start,
                                              (p.theta - anchorLine.angle) * 180.0 / kPi));
    }
  }
  partTurns_.Find(copySources, tries, options_, tolerance_);
}

void Search::Accept(Found found, bool mirrored) {
  ++accepted_;
  const bool fits = !matchTable.full();
  if (!fits) ++leftOutMatches_;
  if (fits) {
    if (!turnsFound_) FindPartTurns();
    partTurns_.TellSmallest(copySources, found.segments, found.partOf, found.motion, options_,
                            tolerance_);
  }
  MatchRecord record;
  record.mirrored = mirrored ? 1 : 0;
  record.ownPlaceOnly = found.ownPlaceOnly ? 1 : 0;
  record.motion = found.motion;
  centres_.push_back(found.motion.Apply(region_.centre().x, region_.centre().y));
  for (size_t k = 0; k < found.segments.size(); ++k) {
    const SegmentRef& ref = found.segments[k];
    if (fits) {
      record.AddSegment(ref);
      record.partOf.push_back(found.partOf[k]);
    }
    auto it = std::lower_bound(targetsOfSegment_.begin(), targetsOfSegment_.end(),
                               std::make_pair(ref.segmentId, 0));
    for (; it != targetsOfSegment_.end() && it->first == ref.segmentId; ++it) {
      TargetEntry& target = targetTable[it->second];
      if (target.used == 0 && target.ref == ref) target.used = 1;
    }
  }
  if (fits) matchTable.Append(std::move(record));
}

// For each unused range segment: every unmirrored placement on its candidate figures first,
// then, when mirror images count, every mirrored one.
// The screen reads the drawing that any trial's window can hold: the figures of the rest of the
// range (entries from `from` on; their ends and centres are where placements start) grown on
// every side by more than a window reaches from its placement's start, turned or mirrored.
void Search::PrepareScreen(int from) {
  std::vector<SegmentRef> range;
  for (int t = from; t <= targetTable.count(); ++t) {
    if (targetTable[t].used == 0) range.push_back(targetTable[t].ref);
  }
  double partReach = 0;
  for (const VexPoint corner :
       {VexPoint{partBox.minX, partBox.minY}, VexPoint{partBox.maxX, partBox.minY},
        VexPoint{partBox.minX, partBox.maxY}, VexPoint{partBox.maxX, partBox.maxY}}) {
    partReach = std::max(partReach, VexAriLen2Pnts(&anchorLine.start, &corner));
  }
  // A turned window spans at most the part's reach on each side of its start, 1 percent more,
  // and a mirrored one that times the square root of two: 1.5 times, with the tolerance it is
  // grown by, bounds both.
  const double windowReach = 1.5 * partReach + 2 * (tolerance_ + fitMargin_);
  // A range scattered over a larger drawing (one of the survey's searches) would have the
  // screen read far more than the range: it stays off then.
  const size_t capacity = std::min(kScreenCapacity, 4 * range.size() + WorkTable::kCapacity);
  screen_.Prepare(range, windowReach + 4 * tolerance_, windowReach, kWindowList, tolerance_,
                  capacity);
}

// A placement read off the anchor line may lay a point at distance d from its start off by
// fit_.Slack(d) where the drawing was rounded (placement_fit.h): windows are grown by that much
// at the part's farthest point, and the screen forgives each copy segment its own.
void Search::PrepareFit() {
  const bool turns = anchorLine.kind == VEX_FIG_LINE || anchorLine.turn != AnchorTurn::kNone;
  fit_.Prepare(copySources, anchorLine.start, anchorLine.length, turns, tolerance_);
  fitMargin_ = fit_.Slack(fit_.reach()) - tolerance_;
  screenSlack_.clear();
  for (const CopySource& source : copySources) {
    double farthest = 0;
    std::vector<VexPoint> points;
    for (const FigureRecord& f : source.figures.figures) BoundingPoints(f, points);
    for (const VexPoint& p : points) {
      farthest = std::max(farthest, std::hypot(p.x - anchorLine.start.x, p.y - anchorLine.start.y));
    }
    screenSlack_.push_back(fit_.Slack(farthest) - tolerance_);
  }
}

// The screen stops at the first copy segment without a partner when every segment counts; the
// anchor's own segment always has one (the candidate it was placed on), so it comes last.
void Search::OrderScreening() {
  counted_ = static_cast<int>(std::count_if(copySources.begin(), copySources.end(),
                                            [](const CopySource& s) { return !s.hasAttr5; }));
  screenOrder_.clear();
  size_t anchorAt = copySources.size();
  for (size_t i = 0; i < copySources.size(); ++i) {
    if (copySources[i].ref == anchorLine.ref && anchorAt == copySources.size()) {
      anchorAt = i;
    } else {
      screenOrder_.push_back(i);
    }
  }
  if (anchorAt < copySources.size()) screenOrder_.push_back(anchorAt);
}

bool Search::Run() {
  std::vector<FigureRecord> figures;
  std::vector<Placement> placements;
  int visited = 0;
  bool screenTried = false;
  std::vector<uint8_t> takenBefore;  // by the twins of earlier searches in the range
  for (int t = 1; t <= targetTable.count(); ++t) takenBefore.push_back(targetTable[t].used);
  for (int t = 1; t <= targetTable.count(); ++t) {
    // A segment an earlier search's twin took is no candidate. One a twin of this search took
    // still is, for a twin of its own beside that one: parts cut with one line between them, or
    // drawn whole side by side with their edges on each other.
    if (takenBefore[static_cast<size_t>(t - 1)] != 0) continue;
    if (goOn_ && std::chrono::steady_clock::now() - asked_ > std::chrono::milliseconds(50)) {
      if (!goOn_()) {
        stats.stopped = true;
        return false;
      }
      asked_ = std::chrono::steady_clock::now();
    }
    inTwin_ = targetTable[t].used != 0;
    // A failing trial through the host costs about as much as reading a few dozen segments, the
    // screen a few readings of the range: it pays once one in five segments visited has made a
    // trial that failed (trials that find twins pass the screen and gain nothing from it).
    const int failed = stats.candidates + stats.mirrorTrials - accepted_;
    if (!screenTried && visited >= kScreenAfterVisits && failed * 2 >= visited) {
      screenTried = true;
      PrepareScreen(t);
    }
    ++visited;
    const SegmentRef ref = targetTable[t].ref;
    const int count = VexFigGetFigure2(&ref, candidateFigures, kCandidateFigureCapacity);
    if (count <= 0) continue;
    figures.assign(candidateFigures, candidateFigures + count);
    PlacementsOf(ref, figures, placements);
    Trial trial = Trial::kFailed;
    for (size_t i = 0; i < placements.size() && trial == Trial::kFailed; ++i) {
      trial = Place(placements[i], false);
    }
    for (size_t i = 0; i < placements.size() && options_.mirror && trial == Trial::kFailed; ++i) {
      if (placements[i].mirrorable) trial = Place(placements[i], true);
    }
    if (trial == Trial::kStopped) return false;
  }
  return true;
}

}  // namespace

const SearchStats& LastSearchStats() { return stats; }

bool FindMatches(const SearchOptions& options, const std::function<bool()>& goOn) {
  stats = SearchStats{};
  Search search(options, goOn);
  if (!search.Run()) return false;
  search.ReportLeftOut();
  return true;
}

}  // namespace twinfind
