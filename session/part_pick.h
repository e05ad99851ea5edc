// The part a single click indicates at the command's part prompt: the figure nearest the
// point, its touching group with everything that lies inside its outline, as the survey forms
// parts. Where outlines of repeated parts touch each other (bars stacked edge on edge, crosses
// nested as they tile, parts cut with one line between them) the group is the whole sheet: the
// click then takes the closed polyline clicked, or else the region of the group's lines and
// arcs that the clicked figure bounds, with what lies inside it, when the group bounds another
// region of its area. The command is handed the window of that part's
// extent, as if the user had dragged it exactly around it.
#ifndef SESSION_PART_PICK_H
#define SESSION_PART_PICK_H

#include <cstdint>
#include <optional>
#include <set>
#include <unordered_map>
#include <vector>

#include "host/drawing.h"
#include "survey/candidate_parts.h"
#include "survey/outline_faces.h"

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
  // The segments of the region the click at (x, y) on segment `nearest` indicates in a group of
  // outlines touching each other; nothing when no other region of the group has its area.
  std::optional<std::vector<int>> RegionAt(const vexhost::Drawing& drawing, int group, int nearest,
                                           double x, double y);

  std::optional<uint64_t> digest_;
  std::set<int> hidden_;  // the layers hidden when the parts were formed
  survey::CandidateForest forest_;
  std::unordered_map<int, int> partOf_;  // segment id -> its group in the forest
  double joint_ = 0;                     // figure ends this near meet
  std::unordered_map<int, std::vector<survey::OutlineFace>> faces_;  // group -> its regions
};

// The reach a `pick X Y` line of a run takes: a two-hundredth of the drawing's larger side.
double DefaultPickReach(const vexhost::Drawing& drawing);

}  // namespace twinfind::session

#endif  // SESSION_PART_PICK_H
