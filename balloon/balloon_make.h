// Making balloons: their rows, their place beside the part, and the three ways the balloon
// method labels parts.
#ifndef BALLOON_BALLOON_MAKE_H
#define BALLOON_BALLOON_MAKE_H

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "balloon/extreme_point.h"

namespace twinfind {

// The rows of a balloon: the part number, and by the settings the material and the count.
std::vector<std::u16string> BalloonRows();

// A new zero-filled buffer of length + 1 units holding the text.
std::unique_ptr<char16_t[]> CopyWideText(std::u16string_view text);

// Where a balloon goes and what it hangs on.
struct BalloonPlace {
  VexPoint anchor{};
  VexPoint centre{};
  int32_t elementId = 0;  // 0: hangs on nothing
  int32_t auxId = 0;
  bool leader = true;
};

// The place of an automatic balloon: the centre away from the anchor along the leader angle,
// by the leader length and half the diameter.
BalloonPlace AutomaticPlace(const BalloonAnchor& anchor, bool attached);

// Creates one balloon with the current rows and diameter, on the balloon layer when the
// settings ask for it; `life` temporary for the preview. Its element id, -1 when the host
// refused it (then no empty segment is left behind).
int CreateBalloon(const BalloonPlace& place, int life = VEX_LIFE_LASTING);

// A balloon for every found part (or, without mIsBalloonAssy, for the indicated part).
void CreatePartBalloons();
// The same without anchor elements, for parts about to be deleted.
void CreateDetachedBalloons();
// A balloon for the copy just made (list 2), when mIsBalloonArray is set.
void CreateCopyBalloon();

}  // namespace twinfind

#endif  // BALLOON_BALLOON_MAKE_H
