// Whole-file writes on Windows: the bytes go to a new file with a unique name in the target's
// folder, are flushed to disk, and the file is then moved over the target in one step
// (MoveFileExW with MOVEFILE_REPLACE_EXISTING). Paths are UTF-8. Windows has no permission
// bits: AtomicWriteOptions::mode is not used; a file marked read-only is refused. The temporary
// file is open without sharing while it is written, so no one else can delete it then; a
// temporary of the target that can be deleted was left by a writer that died, and the next
// write removes it. CheckWriteTarget makes the checks the writer makes before it writes.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <system_error>

#include "common/atomic_file.h"
#include "common/path_name.h"

namespace twinfind {
namespace {

std::wstring WidePath(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int length =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
  return wide;
}

size_t LastSeparator(const std::string& path) { return path.find_last_of("/\\"); }

std::string FolderOf(const std::string& path) {
  const size_t slash = LastSeparator(path);
  if (slash == std::string::npos) return ".";
  return slash == 0 ? path.substr(0, 1) : path.substr(0, slash);
}

std::string LastError(const std::string& what, const std::string& path) {
  return what + " " + path + ": " +
         std::system_category().message(static_cast<int>(GetLastError()));
}

constexpr char kTemporarySuffix[] = ".tmp";

bool IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 30));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

// A name no other writer of this or another process uses at the same moment.
std::string TemporaryName(const std::string& folder, const std::string& name) {
  static std::atomic<unsigned> counter{0};
  const std::string unique = std::to_string(GetCurrentProcessId()) + "-" +
                             std::to_string(GetTickCount64()) + "-" + std::to_string(++counter);
  return folder + "/." + name + "." + unique + kTemporarySuffix;
}

// ".NAME.<process>-<ticks>-<count>.tmp", as TemporaryName makes them.
bool IsTemporaryOf(const std::wstring& entry, const std::wstring& name) {
  const std::wstring head = L"." + name + L".";
  const std::wstring tail = L".tmp";
  if (entry.size() <= head.size() + tail.size() || entry.compare(0, head.size(), head) != 0 ||
      entry.compare(entry.size() - tail.size(), tail.size(), tail) != 0) {
    return false;
  }
  for (size_t i = head.size(); i < entry.size() - tail.size(); ++i) {
    if (!(entry[i] == L'-' || (entry[i] >= L'0' && entry[i] <= L'9'))) return false;
  }
  return true;
}

// Deleting fails for a temporary that a live writer holds open; the others are stale.
void RemoveStaleTemporaries(const std::string& folder, const std::string& name) {
  const std::wstring wideFolder = WidePath(folder);
  const std::wstring wideName = WidePath(name);
  WIN32_FIND_DATAW found{};
  const HANDLE search =
      FindFirstFileW((wideFolder + L"\\." + wideName + L".*.tmp").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
        IsTemporaryOf(found.cFileName, wideName)) {
      DeleteFileW((wideFolder + L"\\" + found.cFileName).c_str());
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

// The checks made before a write: a name, an existing folder, no directory and no file marked
// read-only at the target.
bool CheckTarget(const std::string& path, std::string& error) {
  if (path.empty() || path.back() == '/' || path.back() == '\\') {
    error = "no file name given for the output";
    return false;
  }
  if (!PathNameAllowed(path, error)) return false;
  const std::string folder = FolderOf(path);
  if (!IsFolder(folder)) {
    error = "cannot write " + path + ": the folder " + folder + " does not exist";
    return false;
  }
  if (IsFolder(path)) {
    error = "cannot write " + path + ": it is a directory";
    return false;
  }
  const DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    error = "cannot write " + path + ": the file is read-only";
    return false;
  }
  return true;
}

}  // namespace

bool CheckWriteTarget(const std::string& path, std::string& error) {
  return CheckTarget(path, error);
}

// The writer here follows no link itself: the path is the one written.
bool FollowLinksForWrite(const std::string& path, std::string& followed, std::string& error) {
  if (path.empty()) {
    error = "no file name given for the output";
    return false;
  }
  if (!PathNameAllowed(path, error)) return false;
  followed = path;
  return true;
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string& error,
                         const AtomicWriteOptions& options) {
  if (!CheckTarget(path, error)) return false;
  const std::string folder = FolderOf(path);
  const size_t slash = LastSeparator(path);
  const std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1);
  RemoveStaleTemporaries(folder, name);

  std::string tempPath;
  HANDLE file = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
    tempPath = TemporaryName(folder, name);
    file = CreateFileW(WidePath(tempPath).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) break;
  }
  if (file == INVALID_HANDLE_VALUE) {
    error = LastError("cannot create a temporary file in", folder);
    return false;
  }
  const std::wstring wideTemp = WidePath(tempPath);
  auto fail = [&](const std::string& message) {
    error = message;
    DeleteFileW(wideTemp.c_str());
    return false;
  };
  const bool written = WriteAll(file, bytes) && FlushFileBuffers(file);
  const std::string writeError = written ? "" : LastError("cannot write", tempPath);
  if (!CloseHandle(file) && written) return fail(LastError("cannot write", tempPath));
  if (!written) return fail(writeError);

  const std::wstring widePath = WidePath(path);
  const bool aside = !options.asidePath.empty();
  const std::wstring wideAside = WidePath(options.asidePath);
  if (aside && !MoveFileExW(widePath.c_str(), wideAside.c_str(), MOVEFILE_WRITE_THROUGH)) {
    return fail(LastError("cannot move aside", path));
  }
  if (!MoveFileExW(wideTemp.c_str(), widePath.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const std::string message = LastError("cannot write", path);
    if (aside) MoveFileExW(wideAside.c_str(), widePath.c_str(), MOVEFILE_WRITE_THROUGH);
    return fail(message);
  }
  return true;
}

}  // namespace twinfind
