// POSIX terminals and pipes already carry the bytes the tool reads and writes unchanged.
#include "tools/console.h"

#include <unistd.h>

namespace twinfind::tool {

void SetUpStandardStreams(int& /*argc*/, char**& /*argv*/) {}

bool StandardErrorIsTerminal() { return isatty(STDERR_FILENO) != 0; }

}  // namespace twinfind::tool
