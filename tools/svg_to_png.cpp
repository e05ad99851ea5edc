#include "tools/svg_to_png.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

extern char** environ;

namespace twinfind::tool {

bool ConvertSvgToPng(const std::string& svg, const std::string& png, std::string& error) {
  const std::string partial = png + ".partial";
  // The file names go to the rasteriser as arguments of their own, never through a shell.
  std::vector<std::string> args = {"rsvg-convert", "--format=png", "--output", partial, svg};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t child = 0;
  const int spawned = posix_spawnp(&child, "rsvg-convert", nullptr, nullptr, argv.data(), environ);
  if (spawned != 0) {
    error = spawned == ENOENT ? "rsvg-convert is not installed (Debian package librsvg2-bin)"
                              : std::string("cannot run rsvg-convert: ") + std::strerror(spawned);
    return false;
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  std::error_code ec;
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::filesystem::remove(partial, ec);
    error = "rsvg-convert could not convert " + svg;
    return false;
  }
  std::filesystem::rename(partial, png, ec);
  if (ec) {
    std::filesystem::remove(partial, ec);
    error = "cannot write " + png + ": " + ec.message();
    return false;
  }
  return true;
}

}  // namespace twinfind::tool
