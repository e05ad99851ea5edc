#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

#include "common/atomic_file.h"
#include "common/path_name.h"

namespace twinfind {
namespace {

constexpr char kTemporarySuffix[] = ".tmp";
// The letters and digits between ".NAME." and the suffix that make a temporary's name unique.
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

// `name` in `folder`, where "" is the current folder.
std::string Joined(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return folder == "/" ? "/" + name : folder + "/" + name;
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

// The names between the slashes of a path, last first, so that the next one is at the back.
std::vector<std::string> ComponentsLastFirst(const std::string& path) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= path.size()) {
    const size_t slash = std::min(path.find('/', start), path.size());
    if (slash > start) parts.push_back(path.substr(start, slash - start));
    start = slash + 1;
  }
  std::reverse(parts.begin(), parts.end());
  return parts;
}

// The system's rule for protected symbolic links (fs.protected_symlinks): a link in a folder
// that is sticky and writable by anyone is followed only when it belongs to the one following
// it or to the folder's owner. In such a folder anyone can plant a link, and only the sticky
// bit keeps others from removing it, so a link of a third user there may lead anywhere the
// writer can write. The writer follows links itself, name by name, where the system's own
// check (when it is switched on at all) would not see them, so it applies the rule itself.
bool MayFollow(const std::string& link, const struct stat& linkInfo, const std::string& folder,
               const std::string& requested, std::string& error) {
  struct stat folderInfo {};
  if (stat(folder.c_str(), &folderInfo) != 0) {
    error = Failed("cannot write " + requested + ": cannot look at the folder", folder);
    return false;
  }
  const mode_t shared = S_ISVTX | S_IWOTH;
  if ((folderInfo.st_mode & shared) != shared || linkInfo.st_uid == geteuid() ||
      linkInfo.st_uid == folderInfo.st_uid) {
    return true;
  }
  error = "cannot write " + requested + ": the symbolic link " + link + ", in the shared folder " +
          folder +
          " (sticky, writable by anyone), belongs to another user than you or the "
          "folder's owner; such a link is not followed, as anyone could have planted it there";
  return false;
}

// The path `requested` leads to with every symbolic link on the way followed, each checked by
// MayFollow first: a path that names no link, though its last name need not exist yet (a link
// to a file not made yet leads to where it is to be made). ".." is left to the system, which
// takes it from the folder that a followed link led to. False with a reason when a link is
// refused, cannot be read, or the links go on too long.
bool FollowLinks(const std::string& requested, std::string& path, std::string& error) {
  std::vector<std::string> pending = ComponentsLastFirst(requested);
  std::string reached = requested.front() == '/' ? "/" : "";
  int links = 0;
  while (!pending.empty()) {
    const std::string part = std::move(pending.back());
    pending.pop_back();
    if (part == ".") continue;
    const std::string next = Joined(reached, part);
    struct stat info {};
    if (part == ".." || lstat(next.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
      // What is missing or cannot be looked at is reported by the checks that follow.
      reached = next;
      continue;
    }
    if (++links > kMaxLinks) {
      errno = ELOOP;
      error = Failed("cannot follow the links of", requested);
      return false;
    }
    if (!MayFollow(next, info, reached.empty() ? "." : reached, requested, error)) return false;
    std::vector<char> target(static_cast<size_t>(info.st_size > 0 ? info.st_size : 255) + 2);
    const ssize_t n = readlink(next.c_str(), target.data(), target.size() - 1);
    if (n <= 0) {
      if (n == 0) errno = ENOENT;
      error = Failed("cannot follow the link", next);
      return false;
    }
    const std::string leadsTo(target.data(), static_cast<size_t>(n));
    for (std::string& name : ComponentsLastFirst(leadsTo)) pending.push_back(std::move(name));
    if (leadsTo.front() == '/') reached = "/";
  }
  path = reached.empty() ? "." : reached;
  return true;
}

// ".NAME.XXXXXX.tmp", six letters and digits in place of the X's.
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
void RemoveStaleTemporaries(int folder, const std::string& name) {
  const int listing = dup(folder);  // closedir closes the descriptor it reads
  if (listing < 0) return;
  DIR* dir = fdopendir(listing);
  if (dir == nullptr) {
    close(listing);
    return;
  }
  std::vector<std::string> stale;
  while (const dirent* entry = readdir(dir)) {
    if (IsTemporaryOf(entry->d_name, name)) stale.emplace_back(entry->d_name);
  }
  closedir(dir);
  for (const std::string& entry : stale) {
    const int fd = openat(folder, entry.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat held {
    }, named{};
    if (fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        fstatat(folder, entry.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
        named.st_ino == held.st_ino && named.st_dev == held.st_dev) {
      unlinkat(folder, entry.c_str(), 0);
    }
    close(fd);  // gives up the lock
  }
}

// Six letters and digits for a temporary's name, from the system's random source.
std::string UniquePart() {
  static constexpr char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  unsigned char random[kUniqueLength] = {};
  if (getentropy(random, sizeof random) != 0) {
    // Without the random source the clock still gives names that differ from try to try.
    uint64_t mixed =
        static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
        (static_cast<uint64_t>(getpid()) << 40);
    for (unsigned char& byte : random) {
      mixed = mixed * 6364136223846793005ULL + 1442695040888963407ULL;
      byte = static_cast<unsigned char>(mixed >> 56);
    }
  }
  std::string unique;
  for (const unsigned char byte : random) unique += kAlphabet[byte % (sizeof kAlphabet - 1)];
  return unique;
}

// A new temporary file beside the target, locked; -1 (errno set) when none can be made. It is
// made, never opened: O_EXCL fails on any name that exists, and O_NOFOLLOW on a link planted
// at the name. A cleaner of another writer may have taken the new file for a stale one in the
// moment between its creation and the lock: then the file is gone and another is made.
int CreateLockedTemporary(int folder, const std::string& name, std::string& tempName) {
  for (int attempt = 0; attempt < 64; ++attempt) {
    const std::string candidate = "." + name + "." + UniquePart() + kTemporarySuffix;
    const int fd =
        openat(folder, candidate.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return -1;
    }
    struct stat held {
    }, named{};
    if (flock(fd, LOCK_EX) == 0 && fstat(fd, &held) == 0 &&
        fstatat(folder, candidate.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
        held.st_ino == named.st_ino && held.st_dev == named.st_dev) {
      tempName = candidate;
      return fd;
    }
    close(fd);
  }
  errno = EEXIST;
  return -1;
}

// Where a write goes once the links on the way are followed, and what stands there now.
struct Target {
  std::string folder;
  std::string name;
  std::optional<struct stat> existing;
};

// The checks made before a write; false with the reason naming the file as the user gave it.
bool FindTarget(const std::string& requested, Target& target, std::string& error) {
  if (requested.empty() || requested.back() == '/') {
    error = "no file name given for the output";
    return false;
  }
  if (!PathNameAllowed(requested, error)) return false;
  // A symbolic link stays: the file it leads to is the one replaced.
  std::string path;
  if (!FollowLinks(requested, path, error)) return false;
  target.folder = FolderOf(path);
  target.name = NameOf(path);
  struct stat info {};
  if (stat(target.folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
    error = "cannot write " + requested + ": the folder " + target.folder + " does not exist";
    return false;
  }
  target.existing.reset();
  if (lstat(path.c_str(), &info) == 0) target.existing = info;
  const std::optional<struct stat>& existing = target.existing;
  if (existing && S_ISDIR(existing->st_mode)) {
    error = "cannot write " + requested + ": it is a directory";
    return false;
  }
  if (existing && S_ISLNK(existing->st_mode)) {
    // FollowLinks left no link here: one was made since, by someone else.
    error = "cannot write " + requested + ": it was changed into a link while it was written";
    return false;
  }
  if (existing && !S_ISREG(existing->st_mode)) {
    error =
        "cannot write " + requested + ": it is not a regular file (a device, a FIFO or a socket)";
    return false;
  }
  // A file whose mode says read-only is not replaced, even by a user (root) who could. The
  // checks are the effective user's, who makes the files.
  if (existing && ((existing->st_mode & 0222) == 0 ||
                   faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0)) {
    error = "cannot write " + requested + ": the file is read-only";
    return false;
  }
  if (faccessat(AT_FDCWD, target.folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0) {
    error =
        Failed("cannot write " + requested + ": no file can be made in the folder", target.folder);
    return false;
  }
  return true;
}

}  // namespace

bool CheckWriteTarget(const std::string& path, std::string& error) {
  Target target;
  return FindTarget(path, target, error);
}

bool FollowLinksForWrite(const std::string& path, std::string& followed, std::string& error) {
  if (path.empty()) {
    error = "no file name given for the output";
    return false;
  }
  if (!PathNameAllowed(path, error)) return false;
  return FollowLinks(path, followed, error);
}

bool WriteFileAtomically(const std::string& requested, std::string_view bytes, std::string& error,
                         const AtomicWriteOptions& options) {
  Target target;
  if (!FindTarget(requested, target, error)) return false;
  const std::string& name = target.name;
  const std::optional<struct stat>& existing = target.existing;
  // Everything from here on is done inside the folder found, whatever its path comes to lead
  // to meanwhile.
  const int folder = open(target.folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (folder < 0) {
    error = Failed("cannot write " + requested + ": cannot open the folder", target.folder);
    return false;
  }
  const auto pathOf = [&](const std::string& entry) { return Joined(target.folder, entry); };
  RemoveStaleTemporaries(folder, name);
  std::string tempName;
  const int fd = CreateLockedTemporary(folder, name, tempName);
  if (fd < 0) {
    error = Failed("cannot create a temporary file in", target.folder);
    close(folder);
    return false;
  }
  auto fail = [&](const std::string& message) {
    error = message;
    unlinkat(folder, tempName.c_str(), 0);
    close(fd);
    close(folder);
    return false;
  };
  // The file is made private to its owner; give it the mode asked for, the mode of the file it
  // replaces, or the usual one.
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
  if (!written) return fail(Failed("cannot write", pathOf(tempName)));
  const bool aside = !options.asidePath.empty();
  if (aside && renameat(folder, name.c_str(), AT_FDCWD, options.asidePath.c_str()) != 0) {
    return fail(Failed("cannot move aside", pathOf(name)));
  }
  if (renameat(folder, tempName.c_str(), folder, name.c_str()) != 0) {
    const std::string message = Failed("cannot write", pathOf(name));
    if (aside) renameat(AT_FDCWD, options.asidePath.c_str(), folder, name.c_str());
    return fail(message);
  }
  // The lock goes with the close, after the rename, so no cleaner ever takes the file for a
  // stale one; its bytes are on disk already (fsync above). Syncing the folder makes the rename
  // durable; its failure cannot be undone and is not reported, the new file being in place.
  close(fd);
  fsync(folder);
  close(folder);
  return true;
}

}  // namespace twinfind
