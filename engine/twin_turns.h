// The turn told for a twin of a part that looks the same turned (a rectangle, a round pad with
// two holes, a gear): the search lays the part on a twin by the first placement that fits, and
// for such a part that may be any of the turns that fit. The part's turns onto itself are found
// once a search; each twin is then told the smallest of the turns that lay the part on the same
// segments (counter-clockwise on a tie), so that a twin placed as the part is, the part itself
// among them, is told unturned whichever line the search came to first.
#ifndef ENGINE_TWIN_TURNS_H
#define ENGINE_TWIN_TURNS_H

#include "engine/door_check.h"

#include <vector>

#include "common/plane_map.h"
#include "engine/trial_copy.h"
#include "settings/search_options.h"

namespace twinfind {

class PartTurns {
 public:
  // Finds the part's turns onto itself among `tries` (maps that lay the part's anchor on one of
  // its own figures): a try is one when every segment of the part, placed, coincides with its
  // own segment of the part (on the same layer and with the same line attributes when the
  // options ask for them).
  void Find(const std::vector<CopySource>& sources, const std::vector<PlaneMap>& tries,
            const SearchOptions& options, double tolerance);

  // A twin the search found under `motion`, twin segment k paired with part segment partOf[k]:
  // when a smaller turn of the part's turns lays every part segment on the twin segment its
  // image under that turn was paired with (checked against the twin's own figures), the motion
  // and the pairing become that turn's.
  void TellSmallest(const std::vector<CopySource>& sources, const std::vector<SegmentRef>& twin,
                    std::vector<int>& partOf, PlaneMap& motion, const SearchOptions& options,
                    double tolerance) const;

  bool any() const { return !turns_.empty(); }

 private:
  struct Turn {
    PlaneMap map;
    std::vector<int> onto;  // part segment i lands on part segment onto[i]
  };
  std::vector<Turn> turns_;
};

}  // namespace twinfind

#endif  // ENGINE_TWIN_TURNS_H
