// Draws the ten line-type sample bitmaps, one BMP file for each line-type name, into a folder:
//   draw_linetype_samples FOLDER
// writes FOLDER/linetype01.bmp .. linetype10.bmp. The files in ui/bitmaps/ were made with it,
// and a test checks that they still are what it draws.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "settings/settings.h"
#include "ui/bitmap.h"
#include "ui/bitmaps/linetype_patterns.h"

namespace {

using twinfind::ui::Bitmap;

Bitmap DrawSample(const twinfind::ui::LineTypePattern& pattern) {
  using namespace twinfind::ui;
  Bitmap bitmap;
  bitmap.width = kLineTypeBitmapWidth;
  bitmap.height = kLineTypeBitmapHeight;
  bitmap.pixels.assign(static_cast<size_t>(bitmap.width) * bitmap.height, kWhite);
  size_t run = 0;
  int leftInRun = pattern.runs.empty() ? 0 : pattern.runs[0];
  for (int x = kStrokeLeft; x < kStrokeRight; ++x) {
    // Even runs are drawn, odd runs are gaps.
    const bool drawn = pattern.runs.empty() || run % 2 == 0;
    if (drawn) {
      for (int y = kStrokeTop; y < kStrokeTop + kStrokeRows; ++y) {
        bitmap.pixels[static_cast<size_t>(y) * bitmap.width + x] = kBlack;
      }
    }
    if (!pattern.runs.empty() && --leftInRun == 0) {
      run = (run + 1) % pattern.runs.size();
      leftInRun = pattern.runs[run];
    }
  }
  return bitmap;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: draw_linetype_samples FOLDER\n";
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  for (size_t i = 0; i < twinfind::kLineTypeNames.size(); ++i) {
    const int hostNumber = twinfind::kLineTypeNumbers[i];
    const auto bytes =
        twinfind::ui::EncodeBmp(DrawSample(twinfind::ui::LineTypePatterns()[hostNumber]));
    const std::string number = std::to_string(i + 1);
    const std::string name =
        "linetype" + std::string(number.size() < 2 ? "0" : "") + number + ".bmp";
    std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
      std::cerr << "draw_linetype_samples: cannot write " << (folder / name).string() << '\n';
      return 1;
    }
  }
  return 0;
}
