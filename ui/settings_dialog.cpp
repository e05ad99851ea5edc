// Placeholder until the dialog layer lands: the dialog closes at once, as if cancelled.
#include "ui/settings_dialog.h"

namespace twinfind {

void RunSettingsDialog() {}

}  // namespace twinfind
