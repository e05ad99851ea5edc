#include "dxf/dxf_writer.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "dxf/text_codec.h"

namespace twinfind::dxf {

void DxfWriter::Add(int code, std::string_view value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%3d\n", code);
  text_ += buffer;
  text_ += value;
  text_ += '\n';
}

void DxfWriter::Int(int code, long long value) { Add(code, std::to_string(value)); }

std::string RealText(double value) {
  if (!std::isfinite(value)) value = 0;  // never write what no reader accepts
  if (value == 0) value = 0;             // no "-0"
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  std::string text(buffer, static_cast<size_t>(result.ptr - buffer));
  // Readers expect a decimal point in reals.
  if (text.find_first_of(".e") == std::string::npos) text += ".0";
  return text;
}

void DxfWriter::Real(int code, double value) { Add(code, RealText(value)); }

void DxfWriter::Point(int code, double x, double y) {
  Real(code, x);
  Real(code + 10, y);
  Real(code + 20, 0.0);
}

void DxfWriter::Text(int code, std::u16string_view text) { Add(code, EncodeValue(text)); }

void DxfWriter::Pairs(const GroupPairs& pairs) {
  for (const auto& [code, value] : pairs) Add(code, value);
}

}  // namespace twinfind::dxf
