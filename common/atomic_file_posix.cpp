#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "common/atomic_file.h"

namespace twinfind {
namespace {

constexpr char kTemporarySuffix[] = ".tmp";
// mkstemp's six characters between ".NAME." and the suffix.
constexpr size_t kUniqueLength = 6;
// Symbolic links followed before the target counts as unreachable (the system's own limit).
constexpr int kMaxLinks = 40;

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
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

// The file a chain of symbolic links at `path` ends in (which need not exist yet); `path`
// itself when it is no link. Nothing when the chain is too long or a link cannot be read.
std::optional<std::string> FollowLinks(std::string path) {
  for (int hops = 0; hops < kMaxLinks; ++hops) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    std::vector<char> target(static_cast<size_t>(info.st_size > 0 ? info.st_size : 255) + 2);
    const ssize_t n = readlink(path.c_str(), target.data(), target.size() - 1);
    if (n < 0) return std::nullopt;
    const std::string next(target.data(), static_cast<size_t>(n));
    if (next.empty()) return std::nullopt;
    path = next.front() == '/' ? next : FolderOf(path) + "/" + next;
  }
  errno = ELOOP;
  return std::nullopt;
}

// ".NAME.XXXXXX.tmp" with six of mkstemp's characters.
bool IsTemporaryOf(const std::string& entry, const std::string& name) {
  const std::string head = "." + name + ".";
  const size_t suffix = sizeof kTemporarySuffix - 1;
  if (entry.size() != head.size() + kUniqueLength + suffix) return false;
  if (entry.compare(0, head.size(), head) != 0) return false;
  if (entry.compare(entry.size() - suffix, suffix, kTemporarySuffix) != 0) return false;
  for (size_t i = head.size(); i < head.size() + kUniqueLength; ++i) {
    const char c = entry[i];
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) {
      return false;
    }
  }
  return true;
}

// A writer holds an exclusive lock on its temporary file from its creation until it is renamed
// or removed. A temporary of this target that nobody holds was left by a writer that died
// (killed mid-way): it is removed.
void RemoveStaleTemporaries(const std::string& folder, const std::string& name) {
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return;
  std::vector<std::string> stale;
  while (const dirent* entry = readdir(dir)) {
    if (IsTemporaryOf(entry->d_name, name)) stale.emplace_back(entry->d_name);
  }
  closedir(dir);
  for (const std::string& entry : stale) {
    const std::string path = (folder == "/" ? "" : folder) + "/" + entry;
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat held {
    }, named{};
    if (fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        lstat(path.c_str(), &named) == 0 && named.st_ino == held.st_ino &&
        named.st_dev == held.st_dev) {
      unlink(path.c_str());
    }
    close(fd);  // gives up the lock
  }
}

// A new temporary file beside the target, locked; -1 (errno set) when none can be made. A
// cleaner of another writer may have taken the new file for a stale one in the moment between
// its creation and the lock: then the file is gone and another is made.
int CreateLockedTemporary(const std::string& folder, const std::string& name,
                          std::string& tempPath) {
  const std::string pattern =
      (folder == "/" ? "" : folder) + "/." + name + ".XXXXXX" + kTemporarySuffix;
  for (int attempt = 0; attempt < 16; ++attempt) {
    std::vector<char> temp(pattern.begin(), pattern.end());
    temp.push_back('\0');
    const int fd = mkostemps(temp.data(), sizeof kTemporarySuffix - 1, O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat held {
    }, named{};
    if (flock(fd, LOCK_EX) == 0 && fstat(fd, &held) == 0 && lstat(temp.data(), &named) == 0 &&
        held.st_ino == named.st_ino && held.st_dev == named.st_dev) {
      tempPath = temp.data();
      return fd;
    }
    close(fd);
  }
  errno = EEXIST;
  return -1;
}

}  // namespace

bool WriteFileAtomically(const std::string& requested, std::string_view bytes, std::string& error,
                         const AtomicWriteOptions& options) {
  if (requested.empty() || requested.back() == '/') {
    error = "no file name given for the output";
    return false;
  }
  // A symbolic link stays: the file it leads to is the one replaced.
  const std::optional<std::string> followed = FollowLinks(requested);
  if (!followed) {
    error = Failed("cannot follow the link", requested);
    return false;
  }
  const std::string& path = *followed;
  const std::string folder = FolderOf(path);
  struct stat info {};
  if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
    error = "cannot write " + requested + ": the folder " + folder + " does not exist";
    return false;
  }
  std::optional<struct stat> existing;
  if (stat(path.c_str(), &info) == 0) existing = info;
  if (existing && S_ISDIR(existing->st_mode)) {
    error = "cannot write " + requested + ": it is a directory";
    return false;
  }
  if (existing && !S_ISREG(existing->st_mode)) {
    error =
        "cannot write " + requested + ": it is not a regular file (a device, a FIFO or a socket)";
    return false;
  }
  // A file whose mode says read-only is not replaced, even by a user (root) who could.
  if (existing && ((existing->st_mode & 0222) == 0 || access(path.c_str(), W_OK) != 0)) {
    error = "cannot write " + requested + ": the file is read-only";
    return false;
  }
  const std::string name = NameOf(path);
  RemoveStaleTemporaries(folder, name);
  std::string tempPath;
  const int fd = CreateLockedTemporary(folder, name, tempPath);
  if (fd < 0) {
    error = Failed("cannot create a temporary file in", folder);
    return false;
  }
  auto fail = [&](const std::string& message) {
    error = message;
    unlink(tempPath.c_str());
    return false;
  };
  // mkstemp makes the file private to its owner; give it the mode asked for, the mode of the
  // file it replaces, or the usual one.
  mode_t mode = 0;
  if (options.mode) {
    mode = static_cast<mode_t>(*options.mode);
  } else if (existing) {
    mode = existing->st_mode & 0777;
  } else {
    const mode_t mask = umask(0);
    umask(mask);
    mode = 0666 & ~mask;
  }
  // The replaced file's owner and group stay where the system lets us keep them.
  if (existing && (existing->st_uid != geteuid() || existing->st_gid != getegid())) {
    // Refused to a user who may not give files away: the new file is then the writer's.
    if (fchown(fd, existing->st_uid, existing->st_gid) != 0) errno = 0;
  }
  const bool written = fchmod(fd, mode) == 0 && WriteAll(fd, bytes) && fsync(fd) == 0;
  const std::string writeError = written ? "" : Failed("cannot write", tempPath);
  if (!written) {
    close(fd);
    return fail(writeError);
  }
  const bool aside = !options.asidePath.empty();
  if (aside && rename(path.c_str(), options.asidePath.c_str()) != 0) {
    close(fd);
    return fail(Failed("cannot move aside", path));
  }
  if (rename(tempPath.c_str(), path.c_str()) != 0) {
    const std::string message = Failed("cannot write", path);
    if (aside) rename(options.asidePath.c_str(), path.c_str());
    close(fd);
    return fail(message);
  }
  // The lock goes with the close, after the rename, so no cleaner ever takes the file for a
  // stale one; its bytes are on disk already (fsync above).
  close(fd);
  SyncFolder(folder);
  return true;
}

}  // namespace twinfind
