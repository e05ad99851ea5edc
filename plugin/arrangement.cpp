#include "plugin/arrangement.h"

#include <vector>

#include "balloon/drawing_scale.h"
#include "balloon/found_parts.h"
#include "common/said_texts.h"
#include "engine/host_lists.h"
#include "engine/shape_model.h"
#include "settings/settings.h"
#include "settings/text_number.h"

namespace twinfind {

int32_t arrangeRowCount = 0;
VexPoint arrangeOrigin{};
RowExtent rowExtent;

namespace {

// Copies one match so that its box's lower left corner lands on `at`; the copies fill list 2 and
// `copy`.
bool CopyMatch(const MatchRecord& match, VexPoint at, std::vector<SegmentRef>& copy) {
  const int list = VexIddOpenApIdData(kCopyList, 1);
  VexIddInitApIdData(list);
  for (int i = 1; i <= match.segmentCount(); ++i) {
    if (VexIddSetApIdData(list, match.segment(i).segmentId, match.segment(i).auxId) == -1) {
      CloseList(list);
      VexMsgPutErrorMessage(Said(texts::kCopyListError));
      return false;
    }
  }
  CloseList(list);
  const VexPoint base{match.box.minX, match.box.minY};
  // The host refuses a copy it cannot make (one beyond the drawing's reach): the row stops.
  if (VexSgmEditSegment2(kCopyList, &base, &at, 0.0, 1.0, 0, kCopyResultList) == -1) {
    VexMsgPutErrorMessage(Said(texts::kCopyListError));
    return false;
  }
  const int made = VexIddOpenApIdData(kCopyResultList, 1);
  VexIdRecord record{};
  for (int r = VexIddGetHeadApIdData(made, &record); r != -1;
       r = VexIddGetNextApIdData(made, &record)) {
    copy.push_back(RefOfRecord(record));
  }
  CloseList(made);
  return true;
}

}  // namespace

void MeasureRow() { ComputeMatchExtents(foundParts.twins, ArrangeGap(), rowExtent); }

double ArrangeGap() { return Scaled(TextToLength(Settings().mArrangeWidth)); }
double ArrangeRowGap() { return Scaled(TextToLength(Settings().mArrangeHeight)); }

void DrawRowPreview(VexPoint p) {
  const double w = rowExtent.width, h = rowExtent.height;
  const VexPoint corners[5] = {
      {p.x, p.y}, {p.x + w, p.y}, {p.x + w, p.y + h}, {p.x, p.y + h}, {p.x, p.y}};
  LineAttr attr{};
  attr.color = 1;
  attr.lineType = 0;
  for (int i = 0; i < 4; ++i) {
    const int segment = VexSgmCreateSegment(VEX_SEGMENT_FIGURES, VEX_LIFE_TEMPORARY);
    FigureRecord line{};
    line.kind = VEX_FIG_LINE;
    line.u.line = {corners[i].x, corners[i].y, corners[i + 1].x, corners[i + 1].y};
    VexFigSetLineType2(VexFigCreateFigure(segment, &line), &attr);
  }
}

RowResult PlaceRow(VexPoint origin, const RowHooks& hooks) {
  const double gap = ArrangeGap();
  RowResult result;
  VexPoint cursor = origin;
  auto width = [](const MatchRecord& m) { return m.box.maxX - m.box.minX; };
  foundParts.copies.assign(foundParts.twins.size(), {});
  for (size_t t = 0; t < foundParts.twins.size(); ++t) {
    const MatchRecord& twin = foundParts.twins[t];
    if (twin.mirrored != 0) continue;
    if (!CopyMatch(twin, cursor, foundParts.copies[t])) return {false, result.plainCopies, 0};
    ++result.plainCopies;
    if (hooks.afterPlainCopy) hooks.afterPlainCopy();
    cursor.x += width(twin) + gap;
  }
  const double separator = cursor.x - gap * 0.5;
  double tallest = 0.0;
  for (size_t t = 0; t < foundParts.twins.size(); ++t) {
    const MatchRecord& twin = foundParts.twins[t];
    if (twin.mirrored == 0) continue;
    if (!CopyMatch(twin, cursor, foundParts.copies[t])) {
      result.copied = false;
      return result;
    }
    ++result.mirroredCopies;
    const double height = twin.box.maxY - twin.box.minY;
    if (result.mirroredCopies == 1 || height > tallest) tallest = height;
    cursor.x += width(twin) + gap;
  }
  if (result.mirroredCopies > 0) {
    const double end = cursor.x - gap * 0.5;
    const FrameCorners corners{{separator, origin.y},
                               {end, origin.y},
                               {separator, origin.y + tallest},
                               {end, origin.y + tallest}};
    const auto drawFrame = [&corners] { CreateFrameRectangle(corners, Scaled(2.0)); };
    if (hooks.frame) {
      hooks.frame(drawFrame);
    } else {
      drawFrame();
    }
  }
  return result;
}

void ApplyFigureAction(DeleteCall deleteCall) {
  const TwinfindSettings& s = Settings();
  for (const MatchRecord& twin : foundParts.twins) {
    for (int i = 1; i <= twin.segmentCount(); ++i) {
      const int segment = twin.segment(i).segmentId;
      if (s.mFigure == 1) {
        if (deleteCall == DeleteCall::kDeleteSegment2) {
          VexSgmDeleteSegment2(segment);
        } else {
          VexSgmDeleteSegment(segment);
        }
      } else if (s.mFigure == 2) {
        for (int e = VexSgmGetHeadElementId(segment); e != -1; e = VexElmGetNextElementId(e)) {
          VexLineTypeData data{};
          if (VexFigGetLineType(e, &data) == -1) continue;
          data.color = s.mColorIndex;
          data.lineType = s.mLTypeIndex;
          VexFigSetLineType(e, &data);
        }
      }
    }
  }
}

}  // namespace twinfind
