#include "engine/trial_copy.h"

#include <utility>

#include "common/said_texts.h"
#include "engine/host_lists.h"
#include "engine/shape_model.h"

namespace twinfind {

bool ReadCopySources(int workList, std::vector<CopySource>& sources) {
  sources.clear();
  const int handle = VexIddOpenApIdData(workList, 1);
  VexIdRecord record{};
  std::vector<SegmentRef> refs;
  for (int r = VexIddGetHeadApIdData(handle, &record); r != -1;
       r = VexIddGetNextApIdData(handle, &record)) {
    refs.push_back(RefOfRecord(record));
  }
  CloseList(handle);
  for (const SegmentRef& ref : refs) {
    CopySource source;
    source.ref = ref;
    ReadSegmentFigures(ref, source.figures);
    if (!source.figures.ok) {
      VexMsgPutErrorMessage(Said(texts::kCopyErrorT03));
      return false;
    }
    source.hasAttr5 = VexSgmHasAttribute(ref.segmentId, VEX_ATTRIBUTE_5) != 0 ? 1 : 0;
    sources.push_back(std::move(source));
  }
  if (sources.size() > static_cast<size_t>(kWorkCapacity)) {
    VexDlgMessageBox(Said(texts::kCopyOverflowT04));
    return false;
  }
  return true;
}

void PlaceSegment(const CopySource& source, const PlaneMap& first, const PlaneMap* then,
                  SegmentFigures& to) {
  const SegmentFigures& from = source.figures;
  to.ref = from.ref;
  to.ok = from.ok;
  to.hasHole = from.hasHole;
  to.figures.resize(from.figures.size());
  for (size_t k = 0; k < from.figures.size(); ++k) {
    to.figures[k] = PlaceFigure(from.figures[k], first);
    if (then != nullptr) to.figures[k] = PlaceFigure(to.figures[k], *then);
  }
  to.spread = SpreadOfFigures(to.figures);
}

void PlaceCopy(const std::vector<CopySource>& sources, const PlaneMap& first, const PlaneMap* then,
               std::vector<SegmentFigures>& out) {
  out.resize(sources.size());
  for (size_t i = 0; i < sources.size(); ++i) PlaceSegment(sources[i], first, then, out[i]);
}

}  // namespace twinfind
