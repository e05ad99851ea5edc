// The last search handed to a host of the project's own (vexlib/found_parts_export.h), built
// afresh from foundParts at each call.
#include <vector>

#include "balloon/found_parts.h"
#include "plugin/entry.h"

namespace twinfind {
namespace {

struct Exported {
  std::vector<TwfTwinSegment> segments;
  std::vector<SegmentRef> copies;
  std::vector<TwfTwin> twins;
  TwfFoundParts found{};
};

Exported exported;

}  // namespace
}  // namespace twinfind

extern "C" TWINFIND_EXPORT const TwfFoundParts* TwinfindFoundParts(void) {
  using namespace twinfind;
  Exported& e = exported;
  e.segments.clear();
  e.copies.clear();
  e.twins.clear();
  std::vector<std::pair<size_t, size_t>> starts;  // where each twin's segments and copy begin
  for (size_t t = 0; t < foundParts.twins.size(); ++t) {
    const MatchRecord& match = foundParts.twins[t];
    starts.push_back({e.segments.size(), e.copies.size()});
    for (int i = 1; i <= match.segmentCount(); ++i) {
      const size_t at = static_cast<size_t>(i - 1);
      e.segments.push_back({match.segment(i), at < match.partOf.size() ? match.partOf[at] : -1});
    }
    if (t < foundParts.copies.size()) {
      e.copies.insert(e.copies.end(), foundParts.copies[t].begin(), foundParts.copies[t].end());
    }
  }
  for (size_t t = 0; t < foundParts.twins.size(); ++t) {
    const MatchRecord& match = foundParts.twins[t];
    const PlaneMap& m = match.motion;
    TwfTwin twin{};
    twin.a = m.a, twin.b = m.b, twin.c = m.c, twin.d = m.d, twin.tx = m.tx, twin.ty = m.ty;
    twin.mirrored = match.mirrored;
    twin.segmentCount = match.segmentCount();
    twin.segments = e.segments.data() + starts[t].first;
    const size_t copyEnd = t + 1 < starts.size() ? starts[t + 1].second : e.copies.size();
    twin.copyCount = static_cast<int32_t>(copyEnd - starts[t].second);
    twin.copies = twin.copyCount > 0 ? e.copies.data() + starts[t].second : nullptr;
    e.twins.push_back(twin);
  }
  e.found.searches = foundParts.searches;
  e.found.partCount = static_cast<int32_t>(foundParts.part.size());
  e.found.part = foundParts.part.data();
  e.found.twinCount = static_cast<int32_t>(e.twins.size());
  e.found.twins = e.twins.data();
  return &e.found;
}
