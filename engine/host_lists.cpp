#include "engine/host_lists.h"

#include "engine/shape_model.h"
#include "vexlib/vexlib.h"

namespace twinfind {

void ResetList(int list) {
  if (VexSgmSearchSegment2(nullptr, AcceptAll, list) != 0) return;
  const int handle = VexIddOpenApIdData(list, 1);
  VexIddInitApIdData(handle);
  VexIddCloseApIdData(handle);
}

}  // namespace twinfind
