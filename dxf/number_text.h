// Numbers as a DXF file writes them: read straight from the value's characters, without a
// stream, the same whatever the process's locale.
#ifndef DXF_NUMBER_TEXT_H
#define DXF_NUMBER_TEXT_H

#include <string_view>

namespace twinfind::dxf {

struct RealText {
  enum class Status {
    kNumber,    // a decimal number: optional sign, digits with an optional point, exponent
    kTooLarge,  // a number too large for a double: value is an infinity of its sign
    kNoNumber,  // anything else: empty, "nan", "inf", "abc", "0x10", "1.5mm"
  };
  Status status = Status::kNoNumber;
  double value = 0;
  bool ok() const { return status != Status::kNoNumber; }
};

// A real value (spaces and tabs around it allowed). A comma stands for the decimal point when
// the value has no point, as some writers put it. A number too small for a double reads as 0.
RealText ReadReal(std::string_view text);

// An integer value as DXF readers take it: spaces, an optional sign and the digits up to the
// first other character; `fallback` when no digit comes first. Beyond the range of int it is
// the nearest int.
int ReadInt(std::string_view text, int fallback = 0);

}  // namespace twinfind::dxf

#endif  // DXF_NUMBER_TEXT_H
