// The POSIX file operations under the settings file backend: capped reading of a regular file,
// advisory locks on a lock file, directories and links.
#ifndef SETTINGS_POSIX_FILE_H
#define SETTINGS_POSIX_FILE_H

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace twinfind::posix_file {

// Owns one file descriptor.
class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept;
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  ~UniqueFd() { Close(); }

  int get() const { return fd_; }
  explicit operator bool() const { return fd_ >= 0; }
  // Closes now; false when close reports an error (data may not have reached the file).
  bool Close();

 private:
  int fd_ = -1;
};

enum class ReadStatus { kRead, kMissing, kTooLarge, kFailed };

struct FileRead {
  ReadStatus status = ReadStatus::kFailed;
  std::string bytes;  // when kRead
  mode_t mode = 0;    // permission bits, when the file exists
};

// Reads a regular file of at most maxBytes bytes. Anything but a regular file (a directory, a
// FIFO, a device) is kFailed, without ever blocking on it.
FileRead ReadRegularFile(const std::string& path, size_t maxBytes);

// Opens the lock file and takes a shared or exclusive flock on it, waiting for other holders.
// Without `create` a missing lock file is not made. An empty UniqueFd when it cannot.
// A lock whose file the previous holder removed is taken afresh on the file at the path.
UniqueFd LockFile(const std::string& path, bool exclusive, bool create);
// Removes the lock file of an exclusive lock and lets the lock go, so that no lock file stays
// beside the settings file after a write.
void RemoveLockFile(const std::string& path, UniqueFd& lock);

// Creates a directory and its missing parents; true when it exists afterwards.
bool MakeDirectories(const std::string& path, mode_t mode);

std::string DirectoryOf(const std::string& path);

// The file a symbolic link at `path` leads to, else `path` itself; nothing, with the reason, for
// a dangling link or a link the whole-file writer would not follow (FollowLinksForWrite).
std::optional<std::string> FollowSymlink(const std::string& path, std::string& error);

bool Exists(const std::string& path);

}  // namespace twinfind::posix_file

#endif  // SETTINGS_POSIX_FILE_H
