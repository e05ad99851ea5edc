#include "common/message_format.h"

namespace twinfind {
namespace {

std::u16string ReplaceFirst(std::u16string_view format, std::u16string_view marker,
                            std::u16string_view value) {
  std::u16string out(format);
  const size_t at = out.find(marker);
  if (at != std::u16string::npos) out.replace(at, marker.size(), value);
  return out;
}

}  // namespace

std::u16string FormatInt(std::u16string_view format, int64_t value) {
  const std::string digits = std::to_string(value);
  return ReplaceFirst(format, u"%d", std::u16string(digits.begin(), digits.end()));
}

std::u16string FormatText(std::u16string_view format, std::u16string_view text) {
  return ReplaceFirst(format, u"%s", text);
}

}  // namespace twinfind
