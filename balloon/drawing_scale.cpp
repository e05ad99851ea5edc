#include "balloon/drawing_scale.h"

namespace twinfind {

double drawingScale = 1.0;

}  // namespace twinfind
