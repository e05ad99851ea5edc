#include "dxf/output_format.h"

#include <cstdio>

#include "dxf/line_type_names.h"

namespace twinfind::dxf {

bool ParseHandle(std::string_view text, uint64_t& value) {
  if (text.empty() || text.size() > 16) return false;
  value = 0;
  for (const char c : text) {
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (digit < 0) return false;
    value = value * 16 + static_cast<uint64_t>(digit);
  }
  return true;
}

std::string HandleText(uint64_t value) {
  char buffer[24];
  std::snprintf(buffer, sizeof buffer, "%llX", static_cast<unsigned long long>(value));
  return buffer;
}

void OutputFormat::SetLineTypeName(int lineType, std::string name) {
  lineTypeNames_[lineType] = std::move(name);
}

std::string OutputFormat::LineTypeName(int lineType) const {
  const auto it = lineTypeNames_.find(lineType);
  return it != lineTypeNames_.end() ? it->second : std::string(DxfNameOfHostLineType(lineType));
}

std::string OutputFormat::NewHandle() {
  if (!handles_) return {};
  return HandleText(next_++);
}

void OutputFormat::TakeBlockName(std::string_view name) {
  takenBlocks_.insert(UpperCase(std::string(name)));
}

std::string OutputFormat::NewBlockName(const std::string& base) {
  std::string name = base;
  for (int n = 2; takenBlocks_.count(UpperCase(name)) > 0; ++n) {
    name = base + "_" + std::to_string(n);
  }
  takenBlocks_.insert(UpperCase(name));
  return name;
}

std::string OutputFormat::BeginEntity(DxfWriter& out, std::string_view type,
                                      const std::string& owner, std::string_view layer) {
  out.Add(0, type);
  const std::string handle = NewHandle();
  if (!handle.empty()) out.Add(5, handle);
  if (modern_) {
    if (!owner.empty()) out.Add(330, owner);
    out.Add(100, "AcDbEntity");
  }
  out.Add(8, layer);
  return handle;
}

void OutputFormat::Subclass(DxfWriter& out, std::string_view marker) const {
  if (modern_) out.Add(100, marker);
}

std::string OutputFormat::NewBlockRecord(const std::string& name) {
  if (!modern_) return {};
  const std::string handle = NewHandle();
  records_.push_back({name, handle});
  return handle;
}

std::string OutputFormat::BeginBlock(DxfWriter& out, const std::string& name) {
  const std::string owner = NewBlockRecord(name);
  BeginEntity(out, "BLOCK", owner, "0");
  Subclass(out, "AcDbBlockBegin");
  out.Add(2, name);
  out.Int(70, 0);
  out.Point(10, 0, 0);
  out.Add(3, name);
  if (modern_) out.Add(1, "");
  return owner;
}

void OutputFormat::EndBlock(DxfWriter& out, const std::string& owner) {
  BeginEntity(out, "ENDBLK", owner, "0");
  Subclass(out, "AcDbBlockEnd");
}

}  // namespace twinfind::dxf
