// How a balloon is drawn, the same in DXF output and in pictures: a circle of its diameter at
// its centre, its row texts stacked and centred inside, and, when its leader flag is set, a
// leader line from its anchor to the nearest point of the circle.
#ifndef HOST_BALLOON_LAYOUT_H
#define HOST_BALLOON_LAYOUT_H

#include <string>
#include <vector>

#include "host/comment.h"

namespace vexhost {

struct BalloonRow {
  std::u16string text;
  double centerX = 0, centerY = 0;  // the middle of the row's text
  double height = 0;
};

struct BalloonShape {
  double cx = 0, cy = 0, r = 0;
  bool leader = false;  // drawn only when the anchor lies outside the circle
  double anchorX = 0, anchorY = 0;
  double edgeX = 0, edgeY = 0;
  std::vector<BalloonRow> rows;
};

// The text height of a balloon's rows, as a share of its diameter, for 1, 2 and 3 rows.
double BalloonRowHeight(double diameter, size_t rows);

BalloonShape LayoutBalloon(const BalloonComment& balloon);

}  // namespace vexhost

#endif  // HOST_BALLOON_LAYOUT_H
