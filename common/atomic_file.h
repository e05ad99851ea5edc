// Writing a file so that a reader never sees half of it: the bytes go to a temporary file with
// a unique name in the same folder, which is flushed to disk and then renamed over the target.
// On any failure the temporary file is removed and the target is left as it was. Every output
// of the project (drawings, pictures, the settings file) is written this way.
#ifndef COMMON_ATOMIC_FILE_H
#define COMMON_ATOMIC_FILE_H

#include <optional>
#include <string>
#include <string_view>

namespace twinfind {

struct AtomicWriteOptions {
  // Permission bits of the new file; without them a new file gets 0666 less the umask.
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
