// What makes a twin beyond its shape, as the settings ask for it: the one reading of the
// search's settings that the command, the survey and the view share.
#ifndef SETTINGS_SEARCH_OPTIONS_H
#define SETTINGS_SEARCH_OPTIONS_H

#include "settings/settings.h"

namespace twinfind {

struct SearchOptions {
  bool rotate = false;        // twins may be turned (mIsRotate)
  bool mirror = false;        // twins may be mirror images (mIsSymmetry)
  bool sameLayer = false;     // twins lie on the part's layer (mIsLayer)
  bool sameLineAttr = false;  // twins have the part's colour and line type (mIsColor)
  // Line lengths and angles of candidates agree with the anchor's within this (mTolerance);
  // coordinates within CoordinateTolerance.
  double tolerance = kDefaultSearchTolerance;
  // How many segments the search range may hold (mRangeLimit).
  int rangeLimit = kDefaultRangeLimit;
};

// The search options a settings record gives.
SearchOptions SearchOptionsOf(const TwinfindSettings& settings);

// The tolerances every search and everything built on its answers use; nowhere else is one
// worked out.
// Two coordinates agree when they differ by less than this, in drawing units: the comparison's
// own tolerance, which mTolerance can widen but not narrow.
inline constexpr double kCoordinateTolerance = 1.0 / 1000.0;
// The tolerance that coordinates of a trial copy and of the drawing agree within, and that ends
// of figures meet within: the larger of kCoordinateTolerance and mTolerance.
double CoordinateTolerance(const SearchOptions& options);
// How far a size of a part (a length, a radius, a sum of them) may lie from its twin's: three
// coordinate tolerances, for the two ends a size is measured between and its rounding. Parts
// whose sizes differ by more are no twins, so the survey groups candidates by it.
double SizeSlack(const SearchOptions& options);
// How far the length of a line, and the radius of a circle or arc, that a trial lays the part's
// anchor on may lie from the anchor's: mTolerance, and no less than the coordinates' own
// tolerance allows (a length between two ends each that far off, a radius that far off), so
// that which of a part's figures was drawn first, and so is its anchor, does not decide whether
// a rounded twin is tried.
double AnchorLengthSlack(const SearchOptions& options);
double AnchorRadiusSlack(const SearchOptions& options);

}  // namespace twinfind

#endif  // SETTINGS_SEARCH_OPTIONS_H
