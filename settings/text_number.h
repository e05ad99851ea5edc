// Number reading with the leading-number rules of the stored texts: a text that is no number
// reads as 0, and only the leading number counts.
#ifndef SETTINGS_TEXT_NUMBER_H
#define SETTINGS_TEXT_NUMBER_H

#include <cstdint>
#include <string>
#include <string_view>

namespace twinfind {

// Leading white space skipped, an optional sign, the longest run of decimal digits; 0 when
// there is none. A run beyond the 32-bit range saturates.
int32_t TextToInt(std::u16string_view text);

// Leading white space skipped, then the longest decimal floating-point number (sign, digits,
// point, exponent); 0.0 when there is none.
double TextToDouble(std::u16string_view text);

// A length or size: TextToDouble, but a value out of range (infinite) reads as 0 like a text
// that is no number, so that nothing is ever drawn at infinity.
double TextToLength(std::u16string_view text);

// Integers and flags written as decimal text.
std::u16string IntToText(int64_t value);

}  // namespace twinfind

#endif  // SETTINGS_TEXT_NUMBER_H
