#include "ui/bitmap.h"

namespace twinfind::ui {
namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;
constexpr size_t kPixelOffset = kFileHeaderSize + kInfoHeaderSize;
// Larger pictures than this are no resource of ours; the bound keeps every size below in range.
constexpr int kLargestSide = 8192;

size_t RowStride(int width) { return (static_cast<size_t>(width) * 3 + 3) / 4 * 4; }

void Put16(std::vector<uint8_t>& out, size_t at, uint32_t v) {
  out[at] = static_cast<uint8_t>(v);
  out[at + 1] = static_cast<uint8_t>(v >> 8);
}
void Put32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
  Put16(out, at, v & 0xFFFF);
  Put16(out, at + 2, v >> 16);
}
uint32_t Get16(std::span<const uint8_t> in, size_t at) {
  return static_cast<uint32_t>(in[at]) | static_cast<uint32_t>(in[at + 1]) << 8;
}
uint32_t Get32(std::span<const uint8_t> in, size_t at) {
  return Get16(in, at) | Get16(in, at + 2) << 16;
}

std::string Base64(const std::vector<uint8_t>& bytes) {
  static constexpr char kDigits[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (size_t i = 0; i < bytes.size(); i += 3) {
    const uint32_t n = static_cast<uint32_t>(bytes[i]) << 16 |
                       (i + 1 < bytes.size() ? static_cast<uint32_t>(bytes[i + 1]) << 8 : 0) |
                       (i + 2 < bytes.size() ? bytes[i + 2] : 0);
    out += kDigits[n >> 18 & 63];
    out += kDigits[n >> 12 & 63];
    out += i + 1 < bytes.size() ? kDigits[n >> 6 & 63] : '=';
    out += i + 2 < bytes.size() ? kDigits[n & 63] : '=';
  }
  return out;
}

}  // namespace

std::vector<uint8_t> EncodeBmp(const Bitmap& bitmap) {
  const size_t stride = RowStride(bitmap.width);
  const size_t pixelBytes = stride * static_cast<size_t>(bitmap.height);
  std::vector<uint8_t> out(kPixelOffset + pixelBytes, 0);
  out[0] = 'B';
  out[1] = 'M';
  Put32(out, 2, static_cast<uint32_t>(out.size()));
  Put32(out, 10, kPixelOffset);
  Put32(out, 14, kInfoHeaderSize);
  Put32(out, 18, static_cast<uint32_t>(bitmap.width));
  Put32(out, 22, static_cast<uint32_t>(bitmap.height));
  Put16(out, 26, 1);   // planes
  Put16(out, 28, 24);  // bits per pixel
  Put32(out, 34, static_cast<uint32_t>(pixelBytes));
  Put32(out, 38, 3780);  // 96 dots per inch, as pixels per metre
  Put32(out, 42, 3780);
  for (int y = 0; y < bitmap.height; ++y) {
    // The file keeps the bottom row first.
    size_t at = kPixelOffset + stride * static_cast<size_t>(bitmap.height - 1 - y);
    for (int x = 0; x < bitmap.width; ++x) {
      const Color c = bitmap.At(x, y);
      out[at++] = c.b;
      out[at++] = c.g;
      out[at++] = c.r;
    }
  }
  return out;
}

std::optional<Bitmap> DecodeBmp(std::span<const uint8_t> bytes) {
  if (bytes.size() < kPixelOffset || bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;
  const uint32_t offset = Get32(bytes, 10);
  const uint32_t headerSize = Get32(bytes, 14);
  const auto width = static_cast<int32_t>(Get32(bytes, 18));
  const auto height = static_cast<int32_t>(Get32(bytes, 22));
  if (headerSize < kInfoHeaderSize || Get16(bytes, 26) != 1 || Get16(bytes, 28) != 24 ||
      Get32(bytes, 30) != 0) {
    return std::nullopt;  // not an uncompressed 24-bit picture
  }
  const bool topDown = height < 0;
  const int rows = topDown ? -height : height;
  if (width <= 0 || width > kLargestSide || rows <= 0 || rows > kLargestSide) return std::nullopt;
  const size_t stride = RowStride(width);
  if (offset > bytes.size() || (bytes.size() - offset) / stride < static_cast<size_t>(rows)) {
    return std::nullopt;  // the pixels it claims are not all there
  }
  Bitmap bitmap;
  bitmap.width = width;
  bitmap.height = rows;
  bitmap.pixels.resize(static_cast<size_t>(width) * rows);
  for (int y = 0; y < rows; ++y) {
    const int fileRow = topDown ? y : rows - 1 - y;
    size_t at = offset + stride * static_cast<size_t>(fileRow);
    for (int x = 0; x < width; ++x, at += 3) {
      bitmap.pixels[static_cast<size_t>(y) * width + x] =
          RGB(bytes[at + 2], bytes[at + 1], bytes[at]);
    }
  }
  return bitmap;
}

std::string BmpDataAddress(const Bitmap& bitmap) {
  return "data:image/bmp;base64," + Base64(EncodeBmp(bitmap));
}

}  // namespace twinfind::ui
