// Definition of Guarded (see command.h).
#include "plugin/texts.h"

namespace twinfind {

template <typename Body>
int Guarded(Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    VexMsgPutErrorMessage(texts::kInternalError);
    return VEX_STEP_DONE;
  }
}

}  // namespace twinfind
