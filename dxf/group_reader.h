// The first step of reading a DXF file: its bytes as a list of (group code, value) pairs, with
// the checks that tell a damaged or foreign file from a drawing before anything is built.
#ifndef DXF_GROUP_READER_H
#define DXF_GROUP_READER_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace twinfind::dxf {

struct Group {
  int code = 0;
  uint32_t offset = 0;     // where the group's code line starts in GroupList::text
  std::string_view value;  // points into GroupList::text
  int line = 0;            // the line of the group code, counted from 1
};

struct GroupList {
  std::string text;  // the file's bytes; the groups point into it
  std::vector<Group> groups;
};

// Files larger than this are refused rather than read into memory.
inline constexpr size_t kMaxDxfBytes = size_t{512} << 20;

// Reads a whole file; false and a reason when it cannot be read (missing, a directory,
// unreadable, too large).
bool ReadFileBytes(const std::string& path, std::string& bytes, std::string& error);

// Splits DXF text into groups. False and a reason for an empty file, a binary DXF, binary
// data, a line that is not a group code, and a file that ends before its end marker.
bool ParseGroups(std::string bytes, GroupList& out, std::string& error);

// The value without the spaces and tabs around it.
std::string_view Trimmed(std::string_view value);

}  // namespace twinfind::dxf

#endif  // DXF_GROUP_READER_H
