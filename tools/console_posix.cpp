// POSIX terminals and pipes already carry the bytes the tool reads and writes unchanged.
#include "tools/console.h"

namespace twinfind::tool {

void SetUpStandardStreams(int& /*argc*/, char**& /*argv*/) {}

}  // namespace twinfind::tool
