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
  // Line lengths and angles of candidates agree with the anchor's within this; coordinates of
  // a trial copy and the drawing within this or the comparison's own 0.001, whichever is
  // larger (mTolerance).
  double tolerance = kDefaultSearchTolerance;
  // How many segments the search range may hold (mRangeLimit).
  int rangeLimit = kDefaultRangeLimit;
};

// The search options a settings record gives.
SearchOptions SearchOptionsOf(const TwinfindSettings& settings);

}  // namespace twinfind

#endif  // SETTINGS_SEARCH_OPTIONS_H
