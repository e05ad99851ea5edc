// Every callback body runs under a guard: a fault inside the plug-in ends the command with a
// message instead of unwinding into the host.
#ifndef PLUGIN_GUARD_H
#define PLUGIN_GUARD_H

#include "common/said_texts.h"
#include "vexlib/vexlib.h"

namespace twinfind {

template <typename Body>
int Guarded(Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    VexMsgPutErrorMessage(Said(texts::kInternalError));
    return VEX_STEP_DONE;
  }
}

}  // namespace twinfind

#endif  // PLUGIN_GUARD_H
