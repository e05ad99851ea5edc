// The module's bitmap resources on Windows: the BITMAP resources of the current resource
// module (the plug-in's own inside a ScopedModuleState), read as pictures for the dialog layer.
#include <cstring>
#include <vector>

#include "ui/bitmap.h"
#include "ui/win32/module_state.h"

namespace twinfind::ui {

std::unique_ptr<Bitmap> LoadBitmapResource(int id) {
  const HMODULE module = win32::ResourceModule();
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(2) /* RT_BITMAP */);
  if (found == nullptr) return nullptr;
  HGLOBAL loaded = LoadResource(module, found);
  const auto* bytes = static_cast<const uint8_t*>(loaded ? LockResource(loaded) : nullptr);
  const DWORD size = SizeofResource(module, found);
  if (bytes == nullptr || size < sizeof(BITMAPINFOHEADER)) return nullptr;
  // A BITMAP resource is a BMP file without its 14-byte file header; the pixels follow the
  // info header (a 24-bit picture has no colour table).
  std::vector<uint8_t> file(14 + size);
  const uint32_t fileSize = 14 + size;
  uint32_t headerSize = 0;
  std::memcpy(&headerSize, bytes, 4);
  const uint32_t offset = 14 + headerSize;
  file[0] = 'B';
  file[1] = 'M';
  std::memcpy(&file[2], &fileSize, 4);
  std::memcpy(&file[10], &offset, 4);
  std::memcpy(&file[14], bytes, size);
  auto decoded = DecodeBmp(file);
  if (!decoded) return nullptr;
  decoded->resourceId = id;
  return std::make_unique<Bitmap>(std::move(*decoded));
}

}  // namespace twinfind::ui
