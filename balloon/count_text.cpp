#include "balloon/count_text.h"

#include "balloon/balloon_make.h"
#include "balloon/balloon_texts.h"
#include "balloon/drawing_scale.h"
#include "balloon/found_parts.h"
#include "balloon/part_texts.h"
#include "common/message_format.h"
#include "settings/settings.h"
#include "settings/text_number.h"

namespace twinfind {
namespace {

void CreateText(VexPoint at, const std::u16string& text, double size1, double size2) {
  const TwinfindSettings& s = Settings();
  const auto buffer = CopyWideText(text);
  NormalTextData data{};
  data.type = 33;
  data.x = at.x;
  data.y = at.y;
  data.text = buffer.get();
  data.three = 3;
  data.size1 = size1;
  data.size2 = size2;
  data.one = 1;
  data.ten = 10;
  const int segment = VexSgmCreateSegment(VEX_SEGMENT_COMMENTS, VEX_LIFE_LASTING);
  const int element = VexCmtCreateNormal(segment, &data);
  if (element == -1) {
    VexSgmDeleteSegment(segment);  // no empty segment left behind
    return;
  }
  const CharSizeData size{size1, size2, 0.0};
  VexCmtSetCharSize(element, &size);
  if (s.mIsBalloonLayer != 0) {
    VexSgmChangeLayer(VexElmGetSegment(element), TextToInt(s.mBalloonLayer));
  }
}

}  // namespace

void CreateCountTexts(VexPoint origin, int32_t firstCount, int32_t secondCount) {
  const TwinfindSettings& s = Settings();
  VexPoint at{origin.x - Scaled(50.0), origin.y};
  if (!depthText.empty()) {
    CreateText(at, s.mDPChar + depthText, Scaled(7.0), Scaled(5.5));
    depthText.clear();  // a depth is written once per typed value
    at.y += Scaled(10.0);
  }
  const std::u16string count =
      secondCount != 0 ? FormatInt(FormatInt(texts::kCountPairFormat, firstCount), secondCount)
                       : FormatInt(texts::kCountFormat, foundParts.count());
  CreateText(at, count, Scaled(10.0), Scaled(7.0));
  at.y += Scaled(10.0);
  if (!s.mBalloonStr.empty()) CreateText(at, s.mBalloonStr, Scaled(10.0), Scaled(7.0));
}

std::u16string NextPartNumber(std::u16string_view text) {
  size_t start = text.size();
  while (start > 0 &&
         ((text[start - 1] >= u'0' && text[start - 1] <= u'9') || text[start - 1] == u'.')) {
    --start;
  }
  const size_t k = text.size() - start;
  if (k == 0) return std::u16string(text);
  const std::u16string_view run = text.substr(start);
  const std::u16string number = IntToText(static_cast<int64_t>(TextToInt(run)) + 1);
  std::u16string result(text.substr(0, start));
  if (k > number.size()) result.append(k - number.size(), u'0');
  return result + number;
}

void AdvancePartNumber() {
  TwinfindSettings& s = Settings();
  s.mBalloonStr = NextPartNumber(s.mBalloonStr);
  WriteSetting(kSettingsSubkey, u"mBalloonStr", s.mBalloonStr);
}

}  // namespace twinfind
