#include "engine/match_extents.h"

#include "engine/geometry.h"
#include "engine/part_checks.h"
#include "engine/shape_model.h"

namespace twinfind {

void ComputeMatchExtents(std::vector<MatchRecord>& twins, double gap, RowExtent& row) {
  for (size_t r = 0; r < twins.size(); ++r) {
    MatchRecord& match = twins[r];
    match.box = kResetBox;
    for (int i = 1; i <= match.segmentCount(); ++i) ExtendBoxBySegment(match.segment(i), match.box);
    const double width = match.box.maxX - match.box.minX;
    const double height = match.box.maxY - match.box.minY;
    if (r == 0) {
      row.width = width;
      row.height = height;
    } else {
      row.width += gap + width;
      if (height > row.height) row.height = height;
    }
  }
  const double w = row.width, h = row.height;
  row.corners = {VexPoint{0, 0}, VexPoint{w, 0}, VexPoint{w, h}, VexPoint{0, h}};
}

int CreateFrameRectangle(const FrameCorners& c, double m) {
  const VexPoint ll{c.lowerLeft.x - m, c.lowerLeft.y - m};
  const VexPoint lr{c.lowerRight.x + m, c.lowerRight.y - m};
  const VexPoint ul{c.upperLeft.x - m, c.upperLeft.y + m};
  const VexPoint ur{c.upperRight.x + m, c.upperRight.y + m};
  const int segment = VexSgmCreateSegment(VEX_SEGMENT_FIGURES, VEX_LIFE_LASTING);
  const VexPoint lines[4][2] = {{ll, lr}, {ul, ll}, {ur, ul}, {lr, ur}};
  const VexLineTypeData frameLine{2, 0, 0};
  int figure = -1;
  for (const auto& line : lines) {
    FigureRecord record{};
    record.kind = VEX_FIG_LINE;
    record.u.line = {line[0].x, line[0].y, line[1].x, line[1].y};
    figure =
        figure == -1 ? VexFigCreateFigure(segment, &record) : VexFigInsertFigure(figure, &record);
    VexFigSetLineType(figure, &frameLine);
  }
  return segment;
}

}  // namespace twinfind
