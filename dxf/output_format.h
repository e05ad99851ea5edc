// How new entities are written into a DXF file. Our own files are AutoCAD R12 without handles;
// entities added to a user's file take that file's style: handles when the file has them (new
// ones counted on from the file's highest, so that none collides), and in files of AutoCAD R13
// and later the owner handles and subclass markers those versions need.
#ifndef DXF_OUTPUT_FORMAT_H
#define DXF_OUTPUT_FORMAT_H

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "dxf/dxf_writer.h"

namespace twinfind::dxf {

class OutputFormat {
 public:
  // Our own files.
  OutputFormat() = default;
  // A file's style: `modern` for R13 and later; handles from `nextHandle` on when `handles`;
  // `modelSpace` the handle of the model space's block record (owner of its entities).
  OutputFormat(bool modern, bool handles, uint64_t nextHandle, std::string modelSpace)
      : modern_(modern), handles_(handles), next_(nextHandle), modelSpace_(std::move(modelSpace)) {}

  bool modern() const { return modern_; }
  bool handles() const { return handles_; }
  uint64_t nextHandle() const { return next_; }
  const std::string& modelSpace() const { return modelSpace_; }

  // The name a host line type (0..9) is written under: the file's spelling of its DXF name
  // when it has one, else the name our exporter writes.
  void SetLineTypeName(int lineType, std::string name);
  std::string LineTypeName(int lineType) const;

  // A new handle (hexadecimal capitals); the empty text when the file has none.
  std::string NewHandle();

  // Block names: those the file has are noted as taken (any case); a new block gets `base`,
  // or `base_2`, `base_3`, ... when that is taken.
  void TakeBlockName(std::string_view name);
  std::string NewBlockName(const std::string& base);

  // The start of an entity: its type, handle, owner and entity subclass as the format has
  // them, then its layer. Returns its handle (empty without handles).
  std::string BeginEntity(DxfWriter& out, std::string_view type, const std::string& owner,
                          std::string_view layer);
  // A subclass marker (R13 and later only).
  void Subclass(DxfWriter& out, std::string_view marker) const;

  // In R13 and later every block has a record in the BLOCK_RECORD table: one is made for a new
  // block here (its handle returned; empty in older files) and listed for the table.
  struct BlockRecord {
    std::string name, handle;
  };
  std::string NewBlockRecord(const std::string& name);
  const std::vector<BlockRecord>& blockRecords() const { return records_; }

  // A new block: its BLOCK header (base point at the origin) and its ENDBLK. BeginBlock returns
  // the owner of the block's entities (its record; empty in older files).
  std::string BeginBlock(DxfWriter& out, const std::string& name);
  void EndBlock(DxfWriter& out, const std::string& owner);

 private:
  bool modern_ = false;
  bool handles_ = false;
  uint64_t next_ = 1;
  std::string modelSpace_;
  std::set<std::string> takenBlocks_;  // in capitals
  std::vector<BlockRecord> records_;
  std::map<int, std::string> lineTypeNames_;
};

// A handle as a number; nothing for a value that is no hexadecimal handle.
bool ParseHandle(std::string_view text, uint64_t& value);
std::string HandleText(uint64_t value);

}  // namespace twinfind::dxf

#endif  // DXF_OUTPUT_FORMAT_H
