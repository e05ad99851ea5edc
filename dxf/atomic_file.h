// Writing an output file so that a reader never sees half of it: the bytes go to a temporary
// file in the same folder, which is flushed to disk and then renamed over the target. On any
// failure the temporary file is removed and the target is left as it was.
#ifndef DXF_ATOMIC_FILE_H
#define DXF_ATOMIC_FILE_H

#include <string>
#include <string_view>

namespace twinfind::dxf {

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string& error);

}  // namespace twinfind::dxf

#endif  // DXF_ATOMIC_FILE_H
