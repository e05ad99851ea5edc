#include "balloon/part_texts.h"

namespace twinfind {

std::u16string materialText;
std::u16string depthText;

}  // namespace twinfind
