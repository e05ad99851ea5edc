#include "tools/survey/twin_search.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "engine/geometry.h"
#include "engine/host_lists.h"
#include "engine/match_overlaps.h"
#include "engine/part_checks.h"
#include "engine/shape_model.h"
#include "tools/survey/candidate_parts.h"

namespace twinfind::survey {
namespace {

VexIdRecord RecordOf(int segmentId) {
  VexIdRecord record{};
  record.segmentId = segmentId;
  record.auxId = vexhost::Drawing::kDrawingId;
  return record;
}

// Fills partTable, partBox and the work list with the part, as the part step does.
bool IndicatePart(const std::vector<int>& part) {
  if (part.empty() || part.size() > static_cast<size_t>(kPartCapacity)) return false;
  partBox = kResetBox;
  partTable.Clear();
  ResetList(kWorkList);
  const int list = VexIddOpenApIdData(kWorkList, 1);
  VexIddInitApIdData(list);
  bool listed = true;
  for (const int id : part) {
    const VexIdRecord record = RecordOf(id);
    partTable.Append(MakeTargetEntry(record));
    ExtendBoxBySegment(RefOfRecord(record), partBox);
    listed = listed && VexIddSetApIdData(list, record.segmentId, record.auxId) != -1;
  }
  CloseList(list);
  return listed && CheckPartInRange() && FindAnchorLine();
}

}  // namespace

TwinSearch::TwinSearch(const vexhost::Drawing& drawing, const SearchOptions& options,
                       const std::vector<int>& range)
    : options_(options), holders_(drawing, range, options) {
  for (const int id : range) {
    const vexhost::Segment* segment = drawing.FindSegment(id);
    if (!segment) continue;
    for (const int e : segment->elements) {
      const vexhost::Element* element = drawing.FindElement(e);
      if (!element || element->comment || element->figure.kind != VEX_FIG_LINE) continue;
      const auto& l = element->figure.u.line;
      lines_.push_back({std::hypot(l.x2 - l.x1, l.y2 - l.y1), id});
    }
  }
  std::sort(lines_.begin(), lines_.end());
}

std::optional<std::vector<FoundTwin>> TwinSearch::Search(const std::vector<int>& part) {
  if (!IndicatePart(part)) return std::nullopt;
  // Only segments with a line of the anchor's length can be candidates; the rest would be
  // read and passed over. In drawing order, as the command walks its range.
  const double length = anchorLine.length, reach = options_.tolerance * 1.5;
  holders_.SetPart(part, anchorLine.ref.segmentId);
  std::vector<int> candidates;
  for (auto it = std::lower_bound(lines_.begin(), lines_.end(),
                                  std::pair<double, int>{length - reach, INT_MIN});
       it != lines_.end() && it->first <= length + reach; ++it) {
    if (holders_.MayHold(it->second)) candidates.push_back(it->second);
  }
  std::sort(candidates.begin(), candidates.end());
  candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());

  // In runs of at most as many entries as the match table holds, so that it never fills (an
  // entry gives at most one match); a segment taken by a match is no candidate later, as the
  // command marks its range entries used.
  std::vector<FoundTwin> found;
  std::vector<int> taken;  // sorted segment ids of the twins so far
  size_t next = 0;
  while (next < candidates.size()) {
    targetTable.Clear();
    for (; next < candidates.size() && targetTable.count() < kMatchCapacity; ++next) {
      const int id = candidates[next];
      if (!std::binary_search(taken.begin(), taken.end(), id)) {
        targetTable.Append(MakeTargetEntry(RecordOf(id)));
      }
    }
    matchTable.Clear();
    for (int i = 1; i <= kMatchCapacity; ++i) matchTable.slot(i).mirrored = 0;
    if (targetTable.count() == 0) continue;
    const bool done = FindMatches(options_);
    candidates_ += LastSearchStats().candidates;
    if (!done) return std::nullopt;
    for (int m = 1; m <= matchTable.count(); ++m) {
      FoundTwin twin;
      twin.mirrored = matchTable[m].mirrored != 0;
      for (int i = 1; i <= matchTable[m].segmentCount(); ++i) {
        twin.segments.push_back(matchTable[m].segment(i).segmentId);
      }
      taken.insert(taken.end(), twin.segments.begin(), twin.segments.end());
      found.push_back(std::move(twin));
    }
    std::sort(taken.begin(), taken.end());
  }
  std::vector<std::vector<int>> ids;
  for (const FoundTwin& twin : found) ids.push_back(twin.segments);
  const std::vector<bool> dropped = OverlappedMatches(ids);
  std::vector<FoundTwin> kept;
  for (size_t i = 0; i < found.size(); ++i) {
    if (!dropped[i]) kept.push_back(std::move(found[i]));
  }
  return kept;
}

}  // namespace twinfind::survey
