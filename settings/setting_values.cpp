#include "settings/setting_values.h"

#include <cmath>
#include <cstdint>

#include "settings/ascii_case.h"
#include "settings/text_number.h"

namespace twinfind {
namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// The end of a run of digits from i.
size_t Digits(std::u16string_view text, size_t i) {
  while (i < text.size() && IsDigit(text[i])) ++i;
  return i;
}

size_t Sign(std::u16string_view text, size_t i) {
  return i < text.size() && (text[i] == u'+' || text[i] == u'-') ? i + 1 : i;
}

// An optional sign and digits, nothing else, within the 32-bit range the loader reads.
bool IsWholeNumber(std::u16string_view text) {
  const size_t start = Sign(text, 0), end = Digits(text, start);
  if (end == start || end != text.size()) return false;
  const int32_t value = TextToInt(text);
  return value != INT32_MAX && value != INT32_MIN;  // the loader saturates there
}

// An optional sign, digits with an optional point (a digit on either side), an optional
// exponent; nothing else, and finite.
bool IsNumber(std::u16string_view text) {
  size_t i = Sign(text, 0);
  const size_t whole = Digits(text, i);
  size_t end = whole;
  if (end < text.size() && text[end] == u'.') end = Digits(text, end + 1);
  if (end == i || (end == i + 1 && text[i] == u'.')) return false;
  if (end < text.size() && (text[end] == u'e' || text[end] == u'E')) {
    const size_t exponent = Sign(text, end + 1);
    end = Digits(text, exponent);
    if (end == exponent) return false;
  }
  return end == text.size() && std::isfinite(TextToDouble(text));
}

// The settings held as text whose text is a number where they are used.
enum class Takes {
  kAnyText,
  kFlag,
  kWholeNumber,
  kNumber,
  kPositiveNumber,
  kColour,
  kLineType,
  kRangeLimit,
  kDrawingScale,
  kLanguage,
};

Takes WhatItTakes(const SettingDefinition& d) {
  if (d.name == u"mRangeLimit") return Takes::kRangeLimit;
  if (d.name == u"mDrawingScale") return Takes::kDrawingScale;
  if (d.name == u"mLanguage") return Takes::kLanguage;
  switch (d.kind) {
    case SettingKind::kFlag:
      return Takes::kFlag;
    case SettingKind::kInteger:
      return Takes::kWholeNumber;
    case SettingKind::kColorName:
      return Takes::kColour;
    case SettingKind::kLineTypeName:
      return Takes::kLineType;
    case SettingKind::kText:
      break;
  }
  if (d.name == u"mBalloonLayer") return Takes::kWholeNumber;  // a layer number
  if (d.name == u"mBalloonSize" || d.name == u"mBalloonLeaderSize" || d.name == u"mArrangeWidth" ||
      d.name == u"mArrangeHeight") {
    return Takes::kNumber;
  }
  if (d.name == u"mTolerance") return Takes::kPositiveNumber;
  return Takes::kAnyText;  // mDPChar, mBalloonStr
}

}  // namespace

std::optional<Language> LanguageNamed(std::u16string_view name) {
  while (!name.empty() && (name.front() == u' ' || name.front() == u'\t')) name.remove_prefix(1);
  while (!name.empty() && (name.back() == u' ' || name.back() == u'\t')) name.remove_suffix(1);
  for (const std::u16string_view english : {u"en", u"english"}) {
    if (EqualsIgnoringAsciiCase(name, english)) return Language::kEnglish;
  }
  for (const std::u16string_view korean : {u"ko", u"korean"}) {
    if (EqualsIgnoringAsciiCase(name, korean)) return Language::kKorean;
  }
  return std::nullopt;
}

Language LanguageOfSetting(std::u16string_view text) {
  return LanguageNamed(text).value_or(Language::kKorean);
}

std::string SettingValueProblem(const SettingDefinition& definition, std::u16string_view text) {
  switch (WhatItTakes(definition)) {
    case Takes::kAnyText:
      return {};
    case Takes::kFlag:
      return text == u"0" || text == u"1" ? std::string() : "takes 0 (off) or 1 (on)";
    case Takes::kWholeNumber:
      return IsWholeNumber(text) ? std::string() : "takes a whole number, such as 0 or 801";
    case Takes::kNumber:
      return IsNumber(text) ? std::string() : "takes a number, such as 5.0";
    case Takes::kRangeLimit:
      return RangeLimitOf(text) == TextToInt(text) && Digits(text, 0) == text.size()
                 ? std::string()
                 : "takes a whole number of segments from 1 to 1000000 (10000 when not set)";
    case Takes::kDrawingScale:
      return text == u"auto" || (IsNumber(text) && TextToDouble(text) > 0)
                 ? std::string()
                 : "takes auto (sizes that fit the drawing) or a factor above 0, such as 0.1";
    case Takes::kLanguage:
      return LanguageNamed(text) ? std::string() : "takes ko (Korean, the default) or en (English)";
    case Takes::kPositiveNumber:
      return IsNumber(text) && TextToDouble(text) > 0
                 ? std::string()
                 : "takes a number above 0, such as 0.000001 or 0.001";
    case Takes::kColour:
      return IsColorName(text) ? std::string() : "takes a colour name, MAINCOLOR01 to MAINCOLOR16";
    case Takes::kLineType:
      return IsLineTypeName(text) ? std::string()
                                  : "takes a line-type name, LINETYPE01 to LINETYPE10";
  }
  return {};
}

}  // namespace twinfind
