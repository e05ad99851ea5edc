#include "settings/store_file.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "common/atomic_file.h"
#include "common/path_name.h"
#include "settings/posix_file.h"
#include "settings/reg_file.h"

namespace twinfind {
namespace {

namespace pf = posix_file;

// Damaged files kept aside: "<file>.damaged", then numbered names so an older one is never
// overwritten. Empty when every name is taken.
std::string FreeAsideName(const std::string& path) {
  std::string name = path + ".damaged";
  for (int number = 1; pf::Exists(name); ++number) {
    if (number > 999) return {};
    name = path + ".damaged." + std::to_string(number);
  }
  return name;
}

const char* NonEmptyVariable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && value[0] != '\0' ? value : nullptr;
}

const char* AbsolutePathVariable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && value[0] == '/' ? value : nullptr;
}

}  // namespace

std::optional<SettingsFileLocation> SettingsFileLocationFromEnvironment() {
  if (const char* path = NonEmptyVariable(kSettingsFileVariable)) {
    return SettingsFileLocation{path, false};
  }
  if (const char* config = AbsolutePathVariable("XDG_CONFIG_HOME")) {
    return SettingsFileLocation{std::string(config) + "/twinfind/settings.reg", true};
  }
  if (const char* home = AbsolutePathVariable("HOME")) {
    return SettingsFileLocation{std::string(home) + "/.config/twinfind/settings.reg", true};
  }
  return std::nullopt;
}

FileSettingsStore::FileSettingsStore(std::string path) : fixedPath_(std::move(path)) {}

std::optional<SettingsFileLocation> FileSettingsStore::Location() const {
  std::optional<SettingsFileLocation> location =
      fixedPath_ ? SettingsFileLocation{*fixedPath_, false} : SettingsFileLocationFromEnvironment();
  // A name with a control character in it (from the environment) is no settings file.
  std::string refused;
  if (location && !PathNameAllowed(location->path, refused)) return std::nullopt;
  return location;
}

bool FileSettingsStore::ReadValue(std::u16string_view keyPath, std::u16string_view name,
                                  size_t maxBytes, std::vector<unsigned char>& data) {
  // The values held for a session come first (the store that follows the environment only).
  if (!fixedPath_) {
    if (const char* session = AbsolutePathVariable(kSessionSettingsVariable)) {
      if (FileSettingsStore(session).ReadValue(keyPath, name, maxBytes, data)) return true;
    }
  }
  const auto location = Location();
  if (!location) return false;
  // Writers replace the file by rename, so a reader sees a whole file even without the lock;
  // the shared lock is taken when the lock file exists, and a read never creates it.
  const pf::UniqueFd lock = pf::LockFile(location->path + ".lock", false, false);
  const pf::FileRead file = pf::ReadRegularFile(location->path, kMaxRegFileBytes);
  if (file.status != pf::ReadStatus::kRead) return false;
  const auto document = RegFile::Parse(file.bytes);
  if (!document) return false;
  const auto text = document->Find(CurrentUserSectionPath(keyPath), name);
  if (!text || 2 * text->size() + 2 > maxBytes) return false;
  data = StoredBytesOfText(*text);
  return true;
}

bool FileSettingsStore::WriteValue(std::u16string_view keyPath, std::u16string_view name,
                                   std::u16string_view text) {
  const auto location = Location();
  if (!location) return false;
  if (location->createDirectory && !pf::MakeDirectories(pf::DirectoryOf(location->path), 0700)) {
    return false;
  }
  // Replacing a symbolic link by rename would cut it; write the file it leads to instead.
  std::string refused;
  const auto path = pf::FollowSymlink(location->path, refused);
  if (!path) {
    // A link the writer will not follow is a danger the user must hear of, once: the command
    // writes many values at a time.
    static std::atomic<bool> told{false};
    if (!refused.empty() && !told.exchange(true)) {
      std::fprintf(stderr, "twinfind: the settings are not saved: %s\n", refused.c_str());
    }
    return false;
  }

  // The lock file goes again when the write is over, whatever its outcome: no ".lock" file is
  // left beside the settings.
  struct HeldLock {
    std::string path;
    pf::UniqueFd fd;
    ~HeldLock() { pf::RemoveLockFile(path, fd); }
  } lock{*path + ".lock", pf::LockFile(*path + ".lock", true, true)};
  if (!lock.fd) return false;
  const pf::FileRead current = pf::ReadRegularFile(*path, kMaxRegFileBytes);
  // What cannot be read (no permission, not a regular file) is left alone: replacing it could
  // destroy what it holds.
  if (current.status == pf::ReadStatus::kFailed) return false;

  std::optional<RegFile> document;
  if (current.status == pf::ReadStatus::kRead) document = RegFile::Parse(current.bytes);
  const bool damaged = current.status == pf::ReadStatus::kTooLarge ||
                       (current.status == pf::ReadStatus::kRead && !document);
  if (!document) document.emplace();

  // Refuse what the file cannot hold, and never write a file that would itself read as damaged.
  if (!document->Set(CurrentUserSectionPath(keyPath), name, text)) return false;
  const std::string bytes = document->Format();
  if (bytes.size() > kMaxRegFileBytes) return false;

  std::string aside;
  if (damaged) {
    aside = FreeAsideName(*path);
    if (aside.empty()) return false;
  }
  AtomicWriteOptions options;
  if (current.status != pf::ReadStatus::kMissing) options.mode = current.mode;
  options.asidePath = aside;
  std::string error;
  if (!WriteFileAtomically(*path, bytes, error, options)) return false;
  if (damaged) {
    // The registry this file stands in for cannot be damaged; a user must hear of it.
    std::fprintf(stderr,
                 "twinfind: the settings file %s could not be read; it was kept as %s and the "
                 "defaults apply\n",
                 path->c_str(), aside.c_str());
  }
  return true;
}

std::unique_ptr<SettingsStore> CreatePlatformSettingsStore() {
  return std::make_unique<FileSettingsStore>();
}

}  // namespace twinfind
