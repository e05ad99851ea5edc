#include "balloon/balloon_make.h"

#include <cmath>

#include "balloon/drawing_scale.h"
#include "balloon/found_parts.h"
#include "balloon/part_texts.h"
#include "common/message_format.h"
#include "common/said_texts.h"
#include "engine/host_lists.h"
#include "engine/shape_model.h"
#include "settings/settings.h"
#include "settings/text_number.h"

namespace twinfind {

std::vector<std::u16string> BalloonRows() {
  const TwinfindSettings& s = Settings();
  const std::u16string number = s.mBalloonStr, material = materialText;
  const std::u16string count = IntToText(foundParts.count());
  if (s.mIsMaterial != 0 && s.mIsCount != 0) {
    if (s.mMaterial == 0) return {material, number, count};
    if (s.mMaterial == 1) return {number, material, count};
    return {number, count, material};
  }
  if (s.mIsMaterial != 0) {
    if (s.mMaterial == 0) return {material, number};
    return {number, material};
  }
  if (s.mIsCount != 0) return {number, count};
  return {number};
}

std::unique_ptr<char16_t[]> CopyWideText(std::u16string_view text) {
  auto buffer = std::make_unique<char16_t[]>(text.size() + 1);  // zero-filled
  text.copy(buffer.get(), text.size());
  return buffer;
}

BalloonPlace AutomaticPlace(const BalloonAnchor& anchor, bool attached) {
  const TwinfindSettings& s = Settings();
  const double reach =
      Scaled(TextToLength(s.mBalloonLeaderSize)) + Scaled(TextToLength(s.mBalloonSize)) * 0.5;
  BalloonPlace place;
  place.anchor = anchor.point;
  place.centre = {anchor.point.x + reach * std::cos(anchor.leaderAngle),
                  anchor.point.y + reach * std::sin(anchor.leaderAngle)};
  if (attached) {
    place.elementId = anchor.elementId;
    place.auxId = anchor.auxId;
  }
  return place;
}

int CreateBalloon(const BalloonPlace& place, int life) {
  const TwinfindSettings& s = Settings();
  const std::vector<std::u16string> rows = BalloonRows();
  // One buffer per row, freed once the host has copied them.
  std::vector<std::unique_ptr<char16_t[]>> buffers;
  BalloonData data{};
  data.leader = place.leader ? 1 : 0;
  data.anchorX = place.anchor.x;
  data.anchorY = place.anchor.y;
  data.anchorElementId = place.elementId;
  data.anchorAuxId = place.auxId;
  data.centerX = place.centre.x;
  data.centerY = place.centre.y;
  data.rowCount = static_cast<int32_t>(rows.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    buffers.push_back(CopyWideText(rows[i]));
    data.rows[i] = buffers.back().get();
  }
  data.diameter = Scaled(TextToLength(s.mBalloonSize));
  const int segment = VexSgmCreateSegment(VEX_SEGMENT_COMMENTS, life);
  const int element = VexCmtCreateBalloon(segment, &data);
  if (element == -1) {
    VexSgmDeleteSegment(segment);
    return -1;
  }
  if (life == VEX_LIFE_LASTING && s.mIsBalloonLayer != 0) {
    VexSgmChangeLayer(VexElmGetSegment(element), TextToInt(s.mBalloonLayer));
  }
  return element;
}

namespace {

// Counts the parts that got no balloon and tells the user once.
class MissingAnchors {
 public:
  void Add() { ++count_; }
  ~MissingAnchors() {
    if (count_ > 0) VexMsgPutInfoMessage(FormatInt(Said(texts::kNoBalloonAnchor), count_).c_str());
  }

 private:
  int count_ = 0;
};

// Searches the top of the segments and creates their balloon; false when nothing anchors it.
template <typename Refs>
bool BalloonOnTop(const Refs& refs, bool attached) {
  ExtremeBox box;
  BalloonAnchor anchor;
  for (const SegmentRef& ref : refs) {
    if (VexSgmGetType(ref.segmentId) == 0) FindExtremePoint(ref, box, kSideTop, anchor);
  }
  if (!anchor.found) return false;
  CreateBalloon(AutomaticPlace(anchor, attached));
  return true;
}

std::vector<SegmentRef> RefsOfMatch(const MatchRecord& twin) {
  std::vector<SegmentRef> refs;
  for (int i = 1; i <= twin.segmentCount(); ++i) refs.push_back(twin.segment(i));
  return refs;
}

void BalloonsOnParts(bool attached) {
  MissingAnchors missing;
  if (Settings().mIsBalloonAssy != 0) {
    for (const MatchRecord& twin : foundParts.twins) {
      if (!BalloonOnTop(RefsOfMatch(twin), attached)) missing.Add();
    }
    return;
  }
  if (!BalloonOnTop(foundParts.part, attached)) missing.Add();
}

}  // namespace

void CreatePartBalloons() { BalloonsOnParts(true); }

void CreateDetachedBalloons() { BalloonsOnParts(false); }

void CreateCopyBalloon() {
  if (Settings().mIsBalloonArray == 0) return;
  std::vector<SegmentRef> copy;
  const int list = VexIddOpenApIdData(kCopyResultList, 1);
  VexIdRecord record{};
  for (int r = VexIddGetHeadApIdData(list, &record); r != -1;
       r = VexIddGetNextApIdData(list, &record)) {
    copy.push_back(RefOfRecord(record));
  }
  CloseList(list);
  MissingAnchors missing;
  if (!BalloonOnTop(copy, true)) missing.Add();
}

}  // namespace twinfind
