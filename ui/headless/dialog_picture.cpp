#include "ui/headless/dialog_picture.h"
#include "common/atomic_file.h"
#include "common/utf.h"
#include "settings/ascii_case.h"

namespace twinfind::ui {
namespace {

bool EndsWithIgnoringCase(std::u16string_view text, std::u16string_view tail) {
  return text.size() >= tail.size() &&
         EqualsIgnoringAsciiCase(text.substr(text.size() - tail.size()), tail);
}

}  // namespace

std::u16string SvgFileOfPicture(std::u16string_view file) {
  if (!EndsWithIgnoringCase(file, u".png")) return std::u16string(file);
  return std::u16string(file.substr(0, file.size() - 4)) + u".svg";
}

PictureResult WriteDialogPicture(const DialogSnapshot& dialog, std::u16string_view file) {
  const std::u16string svgFile = SvgFileOfPicture(file);
  std::string error;
  if (!WriteFileAtomically(ToUtf8(svgFile), DialogSvg(dialog), error)) {
    return {false, ToUtf16(error)};
  }
  std::u16string message = u"picture written: " + svgFile;
  if (svgFile != file) message += u" (for " + std::u16string(file) + u")";
  return {true, message};
}

}  // namespace twinfind::ui
