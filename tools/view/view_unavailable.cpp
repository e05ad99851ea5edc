// twinfind view where the build has no view (Windows: the command runs inside the real host,
// whose own windows show the drawing and take the mouse).
#include "tools/view/view_command.h"

namespace twinfind::tool {

int ViewCommand(const Options&) {
  return BadArguments(
      "view is not part of this build: on Windows the command runs in the CAD "
      "host, whose windows show the drawing",
      "view");
}

}  // namespace twinfind::tool
