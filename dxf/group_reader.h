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

// The checks of a whole file before its groups are read: false and a reason for an empty
// file (or only blank lines), a binary DXF and other binary data (a NUL byte).
bool CheckDxfText(std::string_view text, std::string& error);

// The groups of DXF text one at a time, in one pass, each checked as it comes: a line where a
// group code belongs must be one, and every code needs its value line. The text must have
// passed CheckDxfText and must outlive the stream.
class GroupStream {
 public:
  explicit GroupStream(std::string_view text);

  // The next group; false at the end marker (0 EOF, which is given first), at the end of the
  // text, or on damage (then error() says where).
  bool Next(Group& group);
  const std::string& error() const { return error_; }
  bool sawEndMarker() const { return sawEnd_; }
  // The line last read, counted from 1.
  int lineNumber() const { return lineNumber_; }

 private:
  bool NextLine(std::string_view& line);

  std::string_view all_;  // offsets count from its start
  size_t pos_ = 0;
  int lineNumber_ = 0;
  bool sawEnd_ = false;
  bool done_ = false;
  bool any_ = false;
  std::string error_;
};

// Splits DXF text into groups. False and a reason for an empty file, a binary DXF, binary
// data, a line that is not a group code, and a file that ends before its end marker.
bool ParseGroups(std::string bytes, GroupList& out, std::string& error);

// True for the group 0 that ends a section.
bool IsSectionEnd(const Group& group);

// The value without the spaces and tabs around it.
std::string_view Trimmed(std::string_view value);

}  // namespace twinfind::dxf

#endif  // DXF_GROUP_READER_H
