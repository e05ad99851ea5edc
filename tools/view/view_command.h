// twinfind view: the command in a browser page on this computer, driven by the mouse.
#ifndef TOOLS_VIEW_VIEW_COMMAND_H
#define TOOLS_VIEW_VIEW_COMMAND_H

#include "tools/cli_options.h"

namespace twinfind::tool {

int ViewCommand(const Options& options);

}  // namespace twinfind::tool

#endif  // TOOLS_VIEW_VIEW_COMMAND_H
