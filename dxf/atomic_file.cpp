#include "dxf/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace twinfind::dxf {
namespace {

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string Failed(const std::string& what, const std::string& path) {
  return what + " " + path + ": " + std::strerror(errno);
}

}  // namespace

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string& error) {
  if (path.empty() || path.back() == '/') {
    error = "no file name given for the output";
    return false;
  }
  const std::string folder = FolderOf(path);
  struct stat info {};
  if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
    error = "cannot write " + path + ": the folder " + folder + " does not exist";
    return false;
  }
  if (stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
    error = "cannot write " + path + ": it is a directory";
    return false;
  }
  const std::string name =
      path.substr(path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1);
  std::string pattern = (folder == "/" ? "" : folder) + "/." + name + ".XXXXXX";
  std::vector<char> temp(pattern.begin(), pattern.end());
  temp.push_back('\0');
  const int fd = mkstemp(temp.data());
  if (fd < 0) {
    error = Failed("cannot create a temporary file in", folder);
    return false;
  }
  const std::string tempPath(temp.data());
  auto fail = [&](const std::string& message) {
    error = message;
    close(fd);
    unlink(tempPath.c_str());
    return false;
  };
  // A new file gets the usual permissions (mkstemp makes it private to its owner).
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);
  size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail(Failed("cannot write", tempPath));
    }
    written += static_cast<size_t>(n);
  }
  if (fsync(fd) != 0) return fail(Failed("cannot write", tempPath));
  if (close(fd) != 0) {
    error = Failed("cannot write", tempPath);
    unlink(tempPath.c_str());
    return false;
  }
  if (rename(tempPath.c_str(), path.c_str()) != 0) {
    error = Failed("cannot write", path);
    unlink(tempPath.c_str());
    return false;
  }
  return true;
}

}  // namespace twinfind::dxf
