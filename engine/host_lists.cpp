#include "engine/host_lists.h"

#include "engine/shape_model.h"
#include "vexlib/vexlib.h"

namespace twinfind {

void CloseList(int handle) {
  if (VexIddCloseApIdData(handle) == -1) VexIddCloseApIdData(handle);
}

void CloseSelection(int handle) {
  if (VexIddCloseSelIdData(handle) == -1) VexIddCloseSelIdData(handle);
}

void ResetList(int list) {
  // A list the host lets us open is emptied directly. Only a list the host does not know yet
  // goes the long way: a search with no area that takes every segment makes the host set the
  // list up, and it is then opened and emptied. The direct way keeps the cost of a reset
  // independent of the size of the drawing, which matters inside the search's inner loop.
  int handle = VexIddOpenApIdData(list, 1);
  if (handle == -1) {
    if (VexSgmSearchSegment2(nullptr, AcceptAll, list) != 0) return;
    handle = VexIddOpenApIdData(list, 1);
  }
  VexIddInitApIdData(handle);
  CloseList(handle);
}

std::vector<SegmentRef> TakeListRefs(int list) {
  std::vector<SegmentRef> refs;
  const int handle = VexIddOpenApIdData(list, 1);
  VexIdRecord record{};
  for (int r = VexIddGetHeadApIdData(handle, &record); r != -1;
       r = VexIddGetNextApIdData(handle, &record)) {
    refs.push_back(RefOfRecord(record));
  }
  VexIddInitApIdData(handle);
  CloseList(handle);
  return refs;
}

}  // namespace twinfind
