#include "settings/search_options.h"

namespace twinfind {

SearchOptions SearchOptionsOf(const TwinfindSettings& s) {
  SearchOptions options;
  options.rotate = s.mIsRotate != 0;
  options.mirror = s.mIsSymmetry != 0;
  options.sameLayer = s.mIsLayer != 0;
  options.sameLineAttr = s.mIsColor != 0;
  options.tolerance = SearchToleranceOf(s.mTolerance);
  options.rangeLimit = RangeLimitOf(s.mRangeLimit);
  return options;
}

}  // namespace twinfind
