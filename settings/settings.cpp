// The settings record, the reading and writing of single values through the active store, and
// the loader that fills the record at every start of the command.
#include "settings/settings.h"

#include "common/language.h"
#include "settings/setting_values.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <vector>

#include "settings/settings_store.h"
#include "settings/text_number.h"

namespace twinfind {

const std::array<SettingDefinition, 24> kSettingDefinitions = {{
    {u"mMethod", u"0", SettingKind::kInteger},
    {u"mBalloonSize", u"5.0", SettingKind::kText},
    {u"mBalloonLeaderSize", u"5.0", SettingKind::kText},
    {u"mIsBalloonLayer", u"1", SettingKind::kFlag},
    {u"mBalloonLayer", u"801", SettingKind::kText},
    {u"mIsBalloonAutoArrange", u"1", SettingKind::kFlag},
    {u"mIsBalloonAssy", u"1", SettingKind::kFlag},
    {u"mIsBalloonArray", u"1", SettingKind::kFlag},
    {u"mIsMaterial", u"1", SettingKind::kFlag},
    {u"mMaterial", u"0", SettingKind::kInteger},
    {u"mIsDepth", u"1", SettingKind::kFlag},
    {u"mDPChar", u"T", SettingKind::kText},
    {u"mIsCount", u"1", SettingKind::kFlag},
    {u"mIsRotate", u"1", SettingKind::kFlag},
    {u"mIsLayer", u"0", SettingKind::kFlag},
    {u"mIsColor", u"0", SettingKind::kFlag},
    {u"mIsSymmetry", u"0", SettingKind::kFlag},
    {u"mFigure", u"0", SettingKind::kInteger},
    {u"mIsArrange", u"1", SettingKind::kFlag},
    {u"mArrangeWidth", u"5.0", SettingKind::kText},
    {u"mArrangeHeight", u"5.0", SettingKind::kText},
    {u"m_ColorMain", u"MAINCOLOR06", SettingKind::kColorName},
    {u"mLTypeName", u"LINETYPE01", SettingKind::kLineTypeName},
    {u"mBalloonStr", u"101", SettingKind::kText},
}};

const std::array<SettingDefinition, 4> kOptionalSettingDefinitions = {{
    {u"mTolerance", u"0.000001", SettingKind::kText},
    {u"mRangeLimit", u"10000", SettingKind::kInteger},
    {u"mDrawingScale", u"", SettingKind::kText},
    {u"mLanguage", u"ko", SettingKind::kText},
}};

double DrawingScaleOf(std::u16string_view text, double largerSide) {
  if (text == u"auto") {
    if (!(largerSide > 0) || !std::isfinite(largerSide)) return 1.0;
    return std::pow(10.0, std::round(std::log10(largerSide / 1000.0)));
  }
  if (text.empty()) return 1.0;
  const double value = TextToLength(text);
  return value > 0 && std::isfinite(value) ? value : 1.0;
}

int RangeLimitOf(std::u16string_view text) {
  if (text.empty() || text.size() > 7) return kDefaultRangeLimit;
  int value = 0;
  for (const char16_t c : text) {
    if (c < u'0' || c > u'9') return kDefaultRangeLimit;
    value = value * 10 + (c - u'0');
  }
  return value >= 1 && value <= kMostRangeLimit ? value : kDefaultRangeLimit;
}

double SearchToleranceOf(std::u16string_view text) {
  const double value = TextToLength(text);
  return value > 0 ? value : kDefaultSearchTolerance;
}

namespace {

// Where each definition lands in the record, in the same order as kSettingDefinitions: a number
// field for flags, integers and names (which hold the resolved host number), else a text field.
struct FieldOfSetting {
  int32_t TwinfindSettings::*number;
  std::u16string TwinfindSettings::*text;
};

using S = TwinfindSettings;
constexpr std::array<FieldOfSetting, 24> kFields = {{
    {&S::mMethod, nullptr},
    {nullptr, &S::mBalloonSize},
    {nullptr, &S::mBalloonLeaderSize},
    {&S::mIsBalloonLayer, nullptr},
    {nullptr, &S::mBalloonLayer},
    {&S::mIsBalloonAutoArrange, nullptr},
    {&S::mIsBalloonAssy, nullptr},
    {&S::mIsBalloonArray, nullptr},
    {&S::mIsMaterial, nullptr},
    {&S::mMaterial, nullptr},
    {&S::mIsDepth, nullptr},
    {nullptr, &S::mDPChar},
    {&S::mIsCount, nullptr},
    {&S::mIsRotate, nullptr},
    {&S::mIsLayer, nullptr},
    {&S::mIsColor, nullptr},
    {&S::mIsSymmetry, nullptr},
    {&S::mFigure, nullptr},
    {&S::mIsArrange, nullptr},
    {nullptr, &S::mArrangeWidth},
    {nullptr, &S::mArrangeHeight},
    {&S::mColorIndex, nullptr},
    {&S::mLTypeIndex, nullptr},
    {nullptr, &S::mBalloonStr},
}};

constexpr std::u16string_view kProductKeyPath = u"SOFTWARE\\Norvane\\VEX\\";

// The registry query buffer holds 256 bytes and the query passes a limit of 255, so at most 126
// UTF-16 characters and their terminator fit.
constexpr size_t kReadByteLimit = 255;

std::u16string WithBackslashes(std::u16string_view keyPath) {
  std::u16string path(keyPath);
  std::replace(path.begin(), path.end(), u'/', u'\\');
  return path;
}

void StoreIntoRecord(TwinfindSettings& record, size_t index, const std::u16string& text) {
  const FieldOfSetting& field = kFields[index];
  switch (kSettingDefinitions[index].kind) {
    case SettingKind::kFlag:
      // Only the exact text "1" sets a flag; "01", "true" or "1 " do not.
      record.*field.number = text == u"1" ? 1 : 0;
      break;
    case SettingKind::kInteger:
      record.*field.number = TextToInt(text);
      break;
    case SettingKind::kText:
      record.*field.text = text;
      break;
    case SettingKind::kColorName:
      record.*field.number = ColorIndexOfName(text);
      break;
    case SettingKind::kLineTypeName:
      record.*field.number = LineTypeIndexOfName(text);
      break;
  }
}

}  // namespace

TwinfindSettings& Settings() {
  static TwinfindSettings record;
  return record;
}

std::u16string MakeSettingsKeyPath(std::u16string_view subkey) {
  std::u16string path(kProductKeyPath);
  path += subkey;
  return path;
}

int RegReadText(std::u16string_view keyPath, std::u16string_view name, std::u16string& out) {
  std::vector<unsigned char> data;
  if (!ActiveSettingsStore().ReadValue(WithBackslashes(keyPath), name, kReadByteLimit, data)) {
    return -1;
  }
  out = TextOfStoredBytes(data);
  return 0;
}

int RegWriteText(std::u16string_view keyPath, std::u16string_view name, std::u16string_view text) {
  return ActiveSettingsStore().WriteValue(WithBackslashes(keyPath), name, text) ? 0 : -1;
}

bool ReadSetting(std::u16string_view subkey, std::u16string_view name, std::u16string& out) {
  return RegReadText(MakeSettingsKeyPath(subkey), name, out) == 0;
}

bool WriteSetting(std::u16string_view subkey, std::u16string_view name, std::u16string_view text) {
  return RegWriteText(MakeSettingsKeyPath(subkey), name, text) == 0;
}

namespace {

// The field of the optional setting at `index` of kOptionalSettingDefinitions.
std::u16string& OptionalField(TwinfindSettings& record, size_t index) {
  std::u16string TwinfindSettings::*const fields[] = {
      &TwinfindSettings::mTolerance, &TwinfindSettings::mRangeLimit,
      &TwinfindSettings::mDrawingScale, &TwinfindSettings::mLanguage};
  static_assert(std::size(fields) == kOptionalSettingDefinitions.size());
  return record.*fields[index];
}

// The record from the store; a missing value gets its default, written back when asked for.
TwinfindSettings ReadRecord(bool writeMissing) {
  TwinfindSettings record;
  for (size_t i = 0; i < kSettingDefinitions.size(); ++i) {
    const SettingDefinition& definition = kSettingDefinitions[i];
    std::u16string text;
    if (!ReadSetting(kSettingsSubkey, definition.name, text)) {
      // A failed write changes nothing here: the record holds the default all the same.
      text = definition.defaultText;
      if (writeMissing) WriteSetting(kSettingsSubkey, definition.name, text);
    }
    StoreIntoRecord(record, i, text);
  }
  for (size_t i = 0; i < kOptionalSettingDefinitions.size(); ++i) {
    const SettingDefinition& definition = kOptionalSettingDefinitions[i];
    std::u16string& field = OptionalField(record, i);
    if (!ReadSetting(kSettingsSubkey, definition.name, field)) field = definition.defaultText;
  }
  return record;
}

}  // namespace

void LoadSettings() {
  Settings() = ReadRecord(true);
  SetLanguage(LanguageOfSetting(Settings().mLanguage));
}

TwinfindSettings ReadSettings() { return ReadRecord(false); }

const SettingDefinition* FindSettingDefinition(std::u16string_view name) {
  for (const SettingDefinition& d : kSettingDefinitions) {
    if (d.name == name) return &d;
  }
  for (const SettingDefinition& d : kOptionalSettingDefinitions) {
    if (d.name == name) return &d;
  }
  return nullptr;
}

std::u16string StoredSettingText(std::u16string_view name) {
  const SettingDefinition* definition = FindSettingDefinition(name);
  if (definition == nullptr) return {};
  std::u16string text(definition->defaultText);
  ReadSetting(kSettingsSubkey, name, text);
  return text;
}

}  // namespace twinfind
