#include "tools/svg_to_png.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "common/atomic_file.h"

extern char** environ;

namespace twinfind::tool {

bool ConvertSvgToPng(const std::string& svg, const std::string& png, std::string& error) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) {
    error = std::string("cannot run rsvg-convert: ") + std::strerror(errno);
    return false;
  }
  // The rasteriser writes the picture to its standard output; the file name goes to it as an
  // argument of its own, never through a shell.
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
  posix_spawn_file_actions_addclose(&actions, pipeEnds[1]);
  std::vector<std::string> args = {"rsvg-convert", "--format=png", svg};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t child = 0;
  const int spawned = posix_spawnp(&child, "rsvg-convert", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[1]);
  if (spawned != 0) {
    close(pipeEnds[0]);
    error = spawned == ENOENT ? "rsvg-convert is not installed (Debian package librsvg2-bin)"
                              : std::string("cannot run rsvg-convert: ") + std::strerror(spawned);
    return false;
  }
  std::string bytes;
  char buffer[65536];
  for (;;) {
    const ssize_t n = read(pipeEnds[0], buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    bytes.append(buffer, static_cast<size_t>(n));
  }
  close(pipeEnds[0]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || bytes.empty()) {
    error = "rsvg-convert could not convert " + svg;
    return false;
  }
  return WriteFileAtomically(png, bytes, error);
}

}  // namespace twinfind::tool
