// Pictures of a dialog as it stands: an SVG drawing laid out from its template in pixels
// (dialog units converted with the template font's base units), written to a file.
#ifndef UI_HEADLESS_DIALOG_PICTURE_H
#define UI_HEADLESS_DIALOG_PICTURE_H

#include <string>
#include <string_view>

#include "ui/headless/dialog_snapshot.h"

namespace twinfind::ui {

// The SVG text of the dialog: its frame and caption, every control drawn as a user knows it,
// and what the last paints drew.
std::string DialogSvg(const DialogSnapshot& dialog);

// The file a picture request writes the SVG to: the file itself, or for a name ending in .png
// the SVG beside it (the same name ending in .svg), which a host with a rasteriser converts.
std::u16string SvgFileOfPicture(std::u16string_view file);

struct PictureResult {
  bool ok = false;
  std::u16string message;  // what was written, or why nothing was
};

// Writes the SVG under a temporary name and renames it into place, so that a failed write
// never leaves half a picture.
PictureResult WriteDialogPicture(const DialogSnapshot& dialog, std::u16string_view file);

}  // namespace twinfind::ui

#endif  // UI_HEADLESS_DIALOG_PICTURE_H
