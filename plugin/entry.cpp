// The module's entry point and the command's start and end.
#include "engine/shape_model.h"
#include "plugin/command.h"
#include "settings/settings.h"

namespace twinfind {

int32_t arrangeRowCount = 0;
VexPoint arrangeOrigin{};
std::u16string materialText;
std::u16string depthText;

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

// Another command wants to start while this one runs: this one does not insist on running on.
int QueryCommand() { return 0; }

// Nothing to do: the next start resets what needs resetting.
int EndCommand() { return 0; }

}  // namespace twinfind

extern "C" TWINFIND_EXPORT int Startup(void* /*reserved*/) {
  const int result =
      VexCtlRegisterVexLib2(twinfind::StartCommand, twinfind::QueryCommand, twinfind::EndCommand);
  return result > 0 ? 0 : -1;
}
