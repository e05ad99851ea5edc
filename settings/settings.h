// The user's settings: one process-wide record, loaded from the per-user store at every start
// of the command, with the store's value names as field names.
#ifndef SETTINGS_SETTINGS_H
#define SETTINGS_SETTINGS_H

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace twinfind {

struct TwinfindSettings {
  int32_t mMethod = 0;
  std::u16string mBalloonSize;
  std::u16string mBalloonLeaderSize;
  int32_t mIsBalloonLayer = 0;
  std::u16string mBalloonLayer;
  int32_t mIsBalloonAutoArrange = 0;
  int32_t mIsBalloonAssy = 0;
  int32_t mIsBalloonArray = 0;
  int32_t mIsMaterial = 0;
  int32_t mMaterial = 0;
  int32_t mIsDepth = 0;
  std::u16string mDPChar;
  int32_t mIsCount = 0;
  int32_t mIsRotate = 0;
  int32_t mIsLayer = 0;
  int32_t mIsColor = 0;
  int32_t mIsSymmetry = 0;
  int32_t mFigure = 0;
  int32_t mIsArrange = 0;
  std::u16string mArrangeWidth;
  std::u16string mArrangeHeight;
  int32_t mColorIndex = 0;  // host colour number of the stored name m_ColorMain
  int32_t mLTypeIndex = 0;  // host line-type number of the stored name mLTypeName
  std::u16string mBalloonStr;
  std::u16string mTolerance;   // optional: the search's tolerance (see SearchToleranceOf)
  std::u16string mRangeLimit;  // optional: how many segments the search range holds (RangeLimitOf)
  std::u16string mDrawingScale;  // optional: the sizes of balloons, texts, gaps (DrawingScaleOf)
  std::u16string mLanguage;      // optional: "ko" (the default) or "en" (LanguageOfSetting)
};

// How a stored text becomes a field of the record.
enum class SettingKind { kFlag, kInteger, kText, kColorName, kLineTypeName };

struct SettingDefinition {
  std::u16string_view name;         // the value name in the store
  std::u16string_view defaultText;  // written back when the value is missing
  SettingKind kind;
};

// The 24 settings, in load order.
extern const std::array<SettingDefinition, 24> kSettingDefinitions;

// The optional settings, beyond the 24: read when the store holds them, their default when it
// does not, and never written back by the loader, so a store that never had them keeps exactly
// the 24 values. mTolerance, the search's tolerance for drawings with rounded coordinates;
// mRangeLimit, how many segments the search range may hold; mDrawingScale, a factor for the
// sizes of what the command draws of its own (absent: none); mLanguage, the language the
// command, its dialogs, the tool and the view speak (absent: Korean).
extern const std::array<SettingDefinition, 4> kOptionalSettingDefinitions;

// How many segments the search range holds when mRangeLimit is not set, and at most.
inline constexpr int kDefaultRangeLimit = 10000;
inline constexpr int kMostRangeLimit = 1000000;

// The limit mRangeLimit gives: a whole number from 1 to 1,000,000, else the default 10000.
int RangeLimitOf(std::u16string_view text);

// The factor mDrawingScale gives: a number above 0 as it is; "auto" the power of ten that makes
// a count text (10 high) about a hundredth of `largerSide`, the drawing's larger side; 1 for
// anything else, an absent setting among them.
double DrawingScaleOf(std::u16string_view text, double largerSide);

// The search's tolerance when mTolerance is not set.
inline constexpr double kDefaultSearchTolerance = 1.0 / 1000000.0;

// The tolerance mTolerance gives: its value when it is a positive finite number, else the
// default 0.000001.
double SearchToleranceOf(std::u16string_view text);

// The subkey of the settings under the product key.
inline constexpr std::u16string_view kSettingsSubkey = u"Twinfind";

// The process-wide record.
TwinfindSettings& Settings();

// "SOFTWARE\Norvane\VEX\" followed by the subkey.
std::u16string MakeSettingsKeyPath(std::u16string_view subkey);

// One value of the store: 0 when read (out replaced), -1 otherwise (out left as it was).
int RegReadText(std::u16string_view keyPath, std::u16string_view name, std::u16string& out);
// 0 when written, -1 otherwise.
int RegWriteText(std::u16string_view keyPath, std::u16string_view name, std::u16string_view text);

bool ReadSetting(std::u16string_view subkey, std::u16string_view name, std::u16string& out);
bool WriteSetting(std::u16string_view subkey, std::u16string_view name, std::u16string_view text);

// Fills the whole record from the store; a missing value gets its default, written back. This is
// what a start of the command does; it switches the command's language to mLanguage's.
void LoadSettings();

// The record as LoadSettings would fill it, by the same rules, but leaving the store as it is:
// for readers that are not the command (the survey, the view, the report).
TwinfindSettings ReadSettings();

// The definition of one of the 24 settings or of an optional one; null for another name.
const SettingDefinition* FindSettingDefinition(std::u16string_view name);

// The stored text of a setting (one of the 24 or an optional one), or its default when the
// store has none; empty for a name that is no setting.
std::u16string StoredSettingText(std::u16string_view name);

// Host colour number of "MAINCOLOR01".."MAINCOLOR16" and host line-type number of
// "LINETYPE01".."LINETYPE10", ignoring letter case; an unknown name gives 0.
int32_t ColorIndexOfName(std::u16string_view name);
int32_t LineTypeIndexOfName(std::u16string_view name);
// Whether the name is one of those, ignoring letter case.
bool IsColorName(std::u16string_view name);
bool IsLineTypeName(std::u16string_view name);

// The names in picker order.
extern const std::array<std::u16string_view, 16> kColorNames;
extern const std::array<std::u16string_view, 10> kLineTypeNames;
extern const std::array<int32_t, 10> kLineTypeNumbers;

}  // namespace twinfind

#endif  // SETTINGS_SETTINGS_H
