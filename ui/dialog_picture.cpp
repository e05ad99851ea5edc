#include <filesystem>
#include <fstream>
#include <system_error>

#include "common/utf.h"
#include "settings/ascii_case.h"
#include "ui/dialog_picture.h"

namespace twinfind::ui {
namespace {

bool EndsWithIgnoringCase(std::u16string_view text, std::u16string_view tail) {
  return text.size() >= tail.size() &&
         EqualsIgnoringAsciiCase(text.substr(text.size() - tail.size()), tail);
}

PictureResult Failed(std::u16string_view file, std::u16string_view why) {
  return {false, u"cannot write the picture " + std::u16string(file) + u": " + std::u16string(why)};
}

}  // namespace

std::u16string SvgFileOfPicture(std::u16string_view file) {
  if (!EndsWithIgnoringCase(file, u".png")) return std::u16string(file);
  return std::u16string(file.substr(0, file.size() - 4)) + u".svg";
}

PictureResult WriteDialogPicture(const DialogSnapshot& dialog, std::u16string_view file) {
  const std::u16string svgFile = SvgFileOfPicture(file);
  const std::filesystem::path target(svgFile);
  std::error_code ec;
  const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
  if (!std::filesystem::is_directory(folder, ec)) return Failed(svgFile, u"no such folder");
  if (std::filesystem::is_directory(target, ec)) return Failed(svgFile, u"it is a folder");

  std::filesystem::path partial = target;
  partial += ".partial";
  const std::string svg = DialogSvg(dialog);
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    out.write(svg.data(), static_cast<std::streamsize>(svg.size()));
    out.close();
    if (!out) {
      std::filesystem::remove(partial, ec);
      return Failed(svgFile, u"the file cannot be written there");
    }
  }
  std::filesystem::rename(partial, target, ec);
  if (ec) {
    const std::u16string why = ToUtf16(ec.message());
    std::filesystem::remove(partial, ec);
    return Failed(svgFile, why);
  }
  std::u16string message = u"picture written: " + svgFile;
  if (svgFile != file) message += u" (for " + std::u16string(file) + u")";
  return {true, message};
}

}  // namespace twinfind::ui
