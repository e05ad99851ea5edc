// The part a single click indicates at the command's part prompt: the figure nearest the
// point, its touching group with everything that lies inside its outline, as the survey forms
// parts. The command is handed the window of that part's extent, as if the user had dragged it
// exactly around it.
#ifndef SESSION_PART_PICK_H
#define SESSION_PART_PICK_H

#include <cstdint>
#include <optional>
#include <set>
#include <unordered_map>
#include <vector>

#include "host/drawing.h"
#include "survey/candidate_parts.h"

namespace twinfind::session {

struct PickedPart {
  std::vector<int> segments;  // in drawing order
  VexBox box{};               // the extent of their figures
  VexBox window{};            // the window that takes them: the extent, a hair larger
};

class PartPicker {
 public:
  // The part whose figure lies nearest to (x, y), no farther than `reach` (drawing units);
  // nothing when no figure of a visible lasting segment is that near. The parts are formed once
  // per state of the drawing (`digest`, a fingerprint of it) and of its hidden layers, and kept.
  std::optional<PickedPart> At(const vexhost::Drawing& drawing, uint64_t digest, double x, double y,
                               double reach);

 private:
  void Form(const vexhost::Drawing& drawing, uint64_t digest);

  std::optional<uint64_t> digest_;
  std::set<int> hidden_;  // the layers hidden when the parts were formed
  survey::CandidateForest forest_;
  std::unordered_map<int, int> partOf_;  // segment id -> its group in the forest
};

// The reach a `pick X Y` line of a run takes: a two-hundredth of the drawing's larger side.
double DefaultPickReach(const vexhost::Drawing& drawing);

}  // namespace twinfind::session

#endif  // SESSION_PART_PICK_H
