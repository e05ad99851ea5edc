#include "settings/setting_meanings.h"

#include <array>
#include <utility>

namespace twinfind {
namespace {

constexpr std::array<std::pair<std::u16string_view, std::string_view>, 28> kMeanings = {{
    {u"mMethod", "method: 0 general (act on the twins, lay copies out), 1 balloons"},
    {u"mBalloonSize", "balloon diameter"},
    {u"mBalloonLeaderSize", "balloon leader length, from the part to the circle"},
    {u"mIsBalloonLayer", "1: balloons on their own layer (mBalloonLayer)"},
    {u"mBalloonLayer", "layer number of the balloons"},
    {u"mIsBalloonAutoArrange",
     "1: balloons placed by themselves after a confirmation; 0: by a click"},
    {u"mIsBalloonAssy", "1: a balloon on every twin found; 0: on the indicated part only"},
    {u"mIsBalloonArray", "1: a balloon on each laid-out copy too"},
    {u"mIsMaterial", "1: ask for the material and write it in the balloon"},
    {u"mMaterial", "the material's row in the balloon: 0 first, 1 second, 2 third"},
    {u"mIsDepth", "1: ask for the depth and write it above the count text"},
    {u"mDPChar", "text written before the depth (T: T12)"},
    {u"mIsCount", "1: the count of twins in the balloon"},
    {u"mIsRotate", "1: turned parts are twins"},
    {u"mIsLayer", "1: twins only on the part's layer"},
    {u"mIsColor", "1: twins only in the part's colour and line type"},
    {u"mIsSymmetry", "1: mirror images are twins"},
    {u"mFigure", "what becomes of the twins: 0 nothing, 1 deleted, 2 recoloured"},
    {u"mIsArrange", "1: one copy of each twin laid out in a row"},
    {u"mArrangeWidth", "gap between the copies of a row"},
    {u"mArrangeHeight", "gap between rows"},
    {u"m_ColorMain", "recolouring colour, MAINCOLOR01 to MAINCOLOR16"},
    {u"mLTypeName", "recolouring line type, LINETYPE01 to LINETYPE10"},
    {u"mBalloonStr", "the next part number (advances after each balloon)"},
    {u"mTolerance", "how far a twin's coordinates may lie off (rounded drawings)"},
    {u"mRangeLimit", "most segments a search range may hold (up to 1000000)"},
    {u"mDrawingScale", "scale of gaps, balloons and texts: empty 1, a number, or auto"},
    {u"mLanguage", "language of prompts, messages, dialogs and the view: ko or en"},
}};

}  // namespace

std::string_view SettingMeaning(std::u16string_view name) {
  for (const auto& [setting, meaning] : kMeanings) {
    if (setting == name) return meaning;
  }
  return {};
}

}  // namespace twinfind
