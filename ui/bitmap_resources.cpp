// Loading the module's own bitmap resources, which the build compiles into it.
#include <algorithm>

#include "ui/bitmap.h"

namespace twinfind::ui {

std::unique_ptr<Bitmap> LoadBitmapResource(int id) {
  const auto resources = EmbeddedBitmaps();
  const auto found = std::find_if(resources.begin(), resources.end(),
                                  [id](const EmbeddedBitmap& r) { return r.id == id; });
  if (found == resources.end()) return nullptr;
  auto decoded = DecodeBmp(found->bytes);
  if (!decoded) return nullptr;
  decoded->resourceId = id;
  return std::make_unique<Bitmap>(std::move(*decoded));
}

}  // namespace twinfind::ui
