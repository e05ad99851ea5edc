#include "balloon/found_parts.h"

namespace twinfind {

FoundParts foundParts;

}  // namespace twinfind
