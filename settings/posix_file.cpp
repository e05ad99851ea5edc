#include "settings/posix_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "common/atomic_file.h"

namespace twinfind::posix_file {
UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

bool UniqueFd::Close() {
  const int fd = std::exchange(fd_, -1);
  return fd < 0 || close(fd) == 0;
}

FileRead ReadRegularFile(const std::string& path, size_t maxBytes) {
  FileRead result;
  // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
  UniqueFd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (!fd) {
    if (errno == ENOENT) result.status = ReadStatus::kMissing;
    return result;
  }
  struct stat status {};
  if (fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode)) return result;
  result.mode = status.st_mode & 07777;
  if (static_cast<unsigned long long>(status.st_size) > maxBytes) {
    result.status = ReadStatus::kTooLarge;
    return result;
  }
  // Read to the end rather than trusting the size: the file may have grown since fstat.
  std::string bytes;
  char buffer[16384];
  for (;;) {
    const ssize_t count = read(fd.get(), buffer, sizeof buffer);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) return result;
    if (count == 0) break;
    bytes.append(buffer, static_cast<size_t>(count));
    if (bytes.size() > maxBytes) {
      result.status = ReadStatus::kTooLarge;
      return result;
    }
  }
  result.status = ReadStatus::kRead;
  result.bytes = std::move(bytes);
  return result;
}

UniqueFd LockFile(const std::string& path, bool exclusive, bool create) {
  const int access = create ? (O_RDWR | O_CREAT) : O_RDONLY;
  for (;;) {
    UniqueFd fd(open(path.c_str(), access | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY, 0666));
    if (!fd) return fd;
    while (flock(fd.get(), exclusive ? LOCK_EX : LOCK_SH) != 0) {
      if (errno != EINTR) return UniqueFd();
    }
    // The holder before us may have removed the lock file (RemoveLockFile) while we waited:
    // a lock on a file no longer at the path locks nothing, so open it afresh.
    struct stat held {
    }, named{};
    if (fstat(fd.get(), &held) != 0) return UniqueFd();
    if (lstat(path.c_str(), &named) == 0 && named.st_dev == held.st_dev &&
        named.st_ino == held.st_ino) {
      return fd;
    }
  }
}

void RemoveLockFile(const std::string& path, UniqueFd& lock) {
  if (!lock) return;
  // Removed while the exclusive lock is held, so no one holds it on this file; who waits for it
  // sees that the file left the path and opens the path again.
  unlink(path.c_str());
  lock = UniqueFd();
}

bool MakeDirectories(const std::string& path, mode_t mode) {
  for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    const std::string prefix = path.substr(0, slash);
    if (mkdir(prefix.c_str(), mode) != 0 && errno != EEXIST) return false;
    if (slash == std::string::npos) break;
  }
  struct stat status {};
  return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

std::string DirectoryOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::optional<std::string> FollowSymlink(const std::string& path, std::string& error) {
  struct stat status {};
  if (lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path;
  // Followed as the whole-file writer follows links, which refuses one that another user may
  // have planted in a shared folder; the file it leads to must exist.
  std::string followed;
  if (!FollowLinksForWrite(path, followed, error)) return std::nullopt;
  if (stat(followed.c_str(), &status) != 0) {
    error = "the link " + path + " leads to no file";
    return std::nullopt;
  }
  return followed;
}

bool Exists(const std::string& path) {
  struct stat status {};
  return lstat(path.c_str(), &status) == 0 || errno != ENOENT;
}

}  // namespace twinfind::posix_file
