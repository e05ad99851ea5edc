// Filling the one number or text of a message template ("%d", "%s").
#ifndef COMMON_MESSAGE_FORMAT_H
#define COMMON_MESSAGE_FORMAT_H

#include <cstdint>
#include <string>
#include <string_view>

namespace twinfind {

// The template with its first "%d" replaced by the decimal number.
std::u16string FormatInt(std::u16string_view format, int64_t value);
// The template with its first "%s" replaced by the text.
std::u16string FormatText(std::u16string_view format, std::u16string_view text);

}  // namespace twinfind

#endif  // COMMON_MESSAGE_FORMAT_H
