// Conversions between the UTF-16 texts of the system and the UTF-8 of terminals and files.
#ifndef COMMON_UTF_H
#define COMMON_UTF_H

#include <optional>
#include <string>
#include <string_view>

namespace twinfind {

// UTF-16 to UTF-8. An unpaired surrogate becomes U+FFFD.
std::string ToUtf8(std::u16string_view text);

// UTF-8 to UTF-16. Invalid sequences become U+FFFD.
std::u16string ToUtf16(std::string_view text);

// UTF-8 to UTF-16, or nothing when the bytes are not well-formed UTF-8 (overlong forms,
// surrogates, code points above U+10FFFF and truncated sequences are refused).
std::optional<std::u16string> ToUtf16Strict(std::string_view text);

}  // namespace twinfind

#endif  // COMMON_UTF_H
