// The colour and line-type names that the settings store instead of host numbers, and their
// lookups.
#include <algorithm>
#include <iterator>

#include "settings/ascii_case.h"
#include "settings/settings.h"

namespace twinfind {

const std::array<std::u16string_view, 16> kColorNames = {
    u"MAINCOLOR01", u"MAINCOLOR02", u"MAINCOLOR03", u"MAINCOLOR04", u"MAINCOLOR05", u"MAINCOLOR06",
    u"MAINCOLOR07", u"MAINCOLOR08", u"MAINCOLOR09", u"MAINCOLOR10", u"MAINCOLOR11", u"MAINCOLOR12",
    u"MAINCOLOR13", u"MAINCOLOR14", u"MAINCOLOR15", u"MAINCOLOR16",
};

const std::array<std::u16string_view, 10> kLineTypeNames = {
    u"LINETYPE01", u"LINETYPE02", u"LINETYPE03", u"LINETYPE04", u"LINETYPE05",
    u"LINETYPE06", u"LINETYPE07", u"LINETYPE08", u"LINETYPE09", u"LINETYPE10",
};

// The host's line-type numbers do not follow the order in which the picker shows the names.
const std::array<int32_t, 10> kLineTypeNumbers = {0, 4, 5, 6, 1, 2, 3, 7, 8, 9};

namespace {

// Position of the first name equal to `name` ignoring case; N when none is.
template <size_t N>
size_t FindName(const std::array<std::u16string_view, N>& names, std::u16string_view name) {
  const auto found = std::find_if(names.begin(), names.end(), [&](std::u16string_view entry) {
    return EqualsIgnoringAsciiCase(entry, name);
  });
  return static_cast<size_t>(std::distance(names.begin(), found));
}

// The same, but 0 (the first entry) when none is.
template <size_t N>
size_t IndexOfName(const std::array<std::u16string_view, N>& names, std::u16string_view name) {
  const size_t found = FindName(names, name);
  return found == N ? 0 : found;
}

}  // namespace

// The colour names are numbered in table order: MAINCOLOR01 is host colour 0.
int32_t ColorIndexOfName(std::u16string_view name) {
  return static_cast<int32_t>(IndexOfName(kColorNames, name));
}

int32_t LineTypeIndexOfName(std::u16string_view name) {
  return kLineTypeNumbers[IndexOfName(kLineTypeNames, name)];
}

bool IsColorName(std::u16string_view name) {
  return FindName(kColorNames, name) < kColorNames.size();
}

bool IsLineTypeName(std::u16string_view name) {
  return FindName(kLineTypeNames, name) < kLineTypeNames.size();
}

}  // namespace twinfind
