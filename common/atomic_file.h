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

}  // namespace twinfind

#endif  // COMMON_ATOMIC_FILE_H
