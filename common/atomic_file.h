// Writing a file so that a reader never sees half of it: the bytes go to a temporary file with
// a unique name in the same folder (".NAME.XXXXXX.tmp"), which is flushed to disk and then
// renamed over the target. On any failure the temporary file is removed and the target is left
// as it was. Every output of the project (drawings, pictures, the settings file) is written
// this way.
//
// What stands at the target is respected: a symbolic link is followed and the file it leads to
// is replaced (the link stays); a directory, a device, a FIFO or a socket is refused, and so is
// a file whose mode says read-only; a replaced file keeps its permission bits (and, where the
// system lets the writer, its owner). A writer holds a lock on its temporary file while it
// writes; a temporary of the same target that no live writer holds (one killed mid-way left
// it) is removed by the next write to that target.
//
// A symbolic link is followed only where the system's rule for protected links would follow
// it: a link lying in a folder that is sticky and writable by anyone (such as /tmp) is refused
// unless it belongs to the writer or to the folder's owner. Another user could otherwise plant
// OUT.dxf in /tmp as a link to the writer's own ~/.bashrc and have it replaced. Every link on
// the way to the file is checked, those of its folders too.
#ifndef COMMON_ATOMIC_FILE_H
#define COMMON_ATOMIC_FILE_H

#include <optional>
#include <string>
#include <string_view>

namespace twinfind {

struct AtomicWriteOptions {
  // Permission bits of the new file; without them a replaced file keeps its own and a new file
  // gets 0666 less the umask.
  std::optional<unsigned> mode;
  // When set, the file at the target is first renamed to this path (kept aside); if the
  // final rename then fails it is put back.
  std::string asidePath;
};

// False with a reason naming the file on failure.
bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string& error,
                         const AtomicWriteOptions& options = {});

// Whether WriteFileAtomically could write `path` now, by the checks it makes before it writes:
// the links on the way, the folder (there, and a file can be made in it), what stands at the
// target. False with the reason the write would give. A caller with long work before its write
// asks first, so that the user hears of a file that can never be written before the work.
bool CheckWriteTarget(const std::string& path, std::string& error);

// The path a write to `path` reaches: every symbolic link on the way followed as
// WriteFileAtomically follows them, and refused where it refuses one. The last name need not
// exist. For a caller that keeps files of its own beside the one written (a lock file). False
// with the reason.
bool FollowLinksForWrite(const std::string& path, std::string& followed, std::string& error);

}  // namespace twinfind

#endif  // COMMON_ATOMIC_FILE_H
