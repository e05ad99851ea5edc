// The text of a DXF file as our exporter builds it: one group code and one value per pair of
// lines, numbers written so that they read back exactly, texts escaped to ASCII.
#ifndef DXF_DXF_WRITER_H
#define DXF_DXF_WRITER_H

#include <string>
#include <string_view>
#include <utility>

#include "dxf/twinfind_xdata.h"

namespace twinfind::dxf {

// The shortest decimal form that reads back as the same double, with a decimal point.
std::string RealText(double value);

class DxfWriter {
 public:
  void Add(int code, std::string_view value);
  void Int(int code, long long value);
  // The shortest decimal form that reads back as the same double.
  void Real(int code, double value);
  // A point's x, y and z (0) under codes c, c + 10, c + 20.
  void Point(int code, double x, double y);
  void Text(int code, std::u16string_view text);
  void Pairs(const GroupPairs& pairs);
  void Append(const DxfWriter& other) { text_ += other.text_; }
  // The text so far, which the writer then forgets.
  std::string Take() { return std::exchange(text_, {}); }

  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

}  // namespace twinfind::dxf

#endif  // DXF_DXF_WRITER_H
