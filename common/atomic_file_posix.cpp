#include "common/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace twinfind {
namespace {

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string Failed(const std::string& what, const std::string& path) {
  return what + " " + path + ": " + std::strerror(errno);
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;  // e.g. EFBIG or ENOSPC part-way through
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

// Makes a completed rename durable. A failure here cannot be undone and is not reported: the
// new file is already in place.
void SyncFolder(const std::string& folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

}  // namespace

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string& error,
                         const AtomicWriteOptions& options) {
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
  const int fd = mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) {
    error = Failed("cannot create a temporary file in", folder);
    return false;
  }
  const std::string tempPath(temp.data());
  auto fail = [&](const std::string& message) {
    error = message;
    unlink(tempPath.c_str());
    return false;
  };
  // mkstemp makes the file private to its owner; give it the mode asked for, or the usual one.
  mode_t mode = 0;
  if (options.mode) {
    mode = static_cast<mode_t>(*options.mode);
  } else {
    const mode_t mask = umask(0);
    umask(mask);
    mode = 0666 & ~mask;
  }
  const bool written = fchmod(fd, mode) == 0 && WriteAll(fd, bytes) && fsync(fd) == 0;
  const std::string writeError = written ? "" : Failed("cannot write", tempPath);
  if (close(fd) != 0 && written) return fail(Failed("cannot write", tempPath));
  if (!written) return fail(writeError);
  const bool aside = !options.asidePath.empty();
  if (aside && rename(path.c_str(), options.asidePath.c_str()) != 0) {
    return fail(Failed("cannot move aside", path));
  }
  if (rename(tempPath.c_str(), path.c_str()) != 0) {
    const std::string message = Failed("cannot write", path);
    if (aside) rename(options.asidePath.c_str(), path.c_str());
    return fail(message);
  }
  SyncFolder(folder);
  return true;
}

}  // namespace twinfind
