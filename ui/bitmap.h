// Bitmaps: 24-bit pictures, read from and written as BMP files, and the module's own bitmap
// resources (the line-type samples), compiled into it from the BMP files in ui/bitmaps/.
#ifndef UI_BITMAP_H
#define UI_BITMAP_H

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "ui/paint.h"
#include "ui/resource.h"

namespace twinfind::ui {

struct Bitmap {
  int resourceId = 0;  // the resource it was loaded from; 0 when made otherwise
  int width = 0;
  int height = 0;
  std::vector<Color> pixels;  // row by row, the top row first

  Color At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// A BMP file of the picture: 24 bits per pixel, uncompressed, rows bottom-up, each padded to a
// multiple of 4 bytes.
std::vector<uint8_t> EncodeBmp(const Bitmap& bitmap);

// That BMP file as a data address (`data:image/bmp;base64,...`), for SVG and HTML pages.
std::string BmpDataAddress(const Bitmap& bitmap);

// Reads a BMP file of that kind (also top-down); nothing when the bytes are not one, or claim
// more than they hold.
std::optional<Bitmap> DecodeBmp(std::span<const uint8_t> bytes);

// A bitmap resource of the module (LoadBitmap); nullptr when the module has none of that id.
std::unique_ptr<Bitmap> LoadBitmapResource(int id);

// The ids of the ten line-type samples, one for each line-type name in picker order.
inline constexpr int kFirstLineTypeBitmap = IDB_LINETYPE01;
inline constexpr int kLineTypeBitmapCount = 10;
inline constexpr int kLineTypeBitmapWidth = 62;
inline constexpr int kLineTypeBitmapHeight = 23;

// The module's bitmap resources as the build embeds them: BMP file bytes under an id.
struct EmbeddedBitmap {
  int id;
  std::span<const uint8_t> bytes;
};
std::span<const EmbeddedBitmap> EmbeddedBitmaps();

}  // namespace twinfind::ui

#endif  // UI_BITMAP_H
