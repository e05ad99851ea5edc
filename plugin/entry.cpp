// The module's entry point and the command's start and end.
#include "plugin/entry.h"

#include "balloon/part_texts.h"
#include "plugin/arrangement.h"
#include "plugin/balloon_chain.h"
#include "plugin/general_chain.h"
#include "plugin/guard.h"
#include "settings/settings.h"

namespace twinfind {

int StartCommand() {
  return Guarded([]() -> int {
    LoadSettings();
    arrangeRowCount = 0;
    if (Settings().mMethod == 0) {
      GeneralRangeStep(u"", 0.0, 0.0);
    } else {
      depthText.clear();
      BalloonRangeStep(u"", 0.0, 0.0);
    }
    return 0;
  });
}

int QueryCommand() { return 0; }

int EndCommand() { return 0; }

}  // namespace twinfind

extern "C" TWINFIND_EXPORT int Startup(void* /*reserved*/) {
  const int result =
      VexCtlRegisterVexLib2(twinfind::StartCommand, twinfind::QueryCommand, twinfind::EndCommand);
  return result > 0 ? 0 : -1;
}
