// A build without a line-editing library (Windows): a terminal is read as any stream is.
#include "tools/terminal_input.h"

namespace twinfind::tool {

std::unique_ptr<TerminalInput> OpenTerminalInput() { return nullptr; }

}  // namespace twinfind::tool
