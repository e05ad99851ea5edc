#include "settings/search_options.h"

#include <algorithm>

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

double CoordinateTolerance(const SearchOptions& options) {
  return std::max(kCoordinateTolerance, options.tolerance);
}

double SizeSlack(const SearchOptions& options) { return 3.0 * CoordinateTolerance(options); }

double AnchorLengthSlack(const SearchOptions& options) {
  return std::max(options.tolerance, 2.0 * kCoordinateTolerance);
}

double AnchorRadiusSlack(const SearchOptions& options) {
  return std::max(options.tolerance, kCoordinateTolerance);
}

}  // namespace twinfind
