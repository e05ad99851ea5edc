// How much memory an import may take, and a watch over what the process holds while it reads:
// a drawing that would pass the limit is refused with a message, before the system runs out of
// memory and ends the process without a word.
#ifndef DXF_MEMORY_LIMIT_H
#define DXF_MEMORY_LIMIT_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace twinfind::dxf {

// The environment variable that sets the limit, in megabytes.
inline constexpr const char* kMemoryLimitVariable = "TWINFIND_MEMORY_LIMIT_MB";

// A limit in megabytes as the option and the variable give it (a whole number from 1 on), in
// bytes; nothing when it is not one.
std::optional<uint64_t> ParseMemoryLimitMb(std::string_view text);

// The limit TWINFIND_MEMORY_LIMIT_MB sets, into `limit` (left as it is when the variable is not
// set); false, with the reason, when it is set to something that is no number of megabytes.
bool MemoryLimitOfVariable(std::optional<uint64_t>& limit, std::string& error);

// The machine's memory (or the lower limit of the control group the process runs in); 0 when
// it cannot be told.
uint64_t MachineMemoryBytes();

// The limit when none is given: TWINFIND_MEMORY_LIMIT_MB when it is set (and well formed), else
// half of the machine's memory, else none (the largest value).
uint64_t DefaultMemoryLimit();

// The memory the process holds now (resident on Linux, committed on Windows); 0 when it cannot
// be told.
uint64_t ProcessMemoryBytes();

class MemoryWatch {
 public:
  explicit MemoryWatch(uint64_t limitBytes) : limit_(limitBytes) {}

  // True while the process, with `moreBytes` it is about to take, stays within the limit.
  bool Fits(uint64_t moreBytes = 0);
  bool exceeded() const { return exceeded_; }
  uint64_t limit() const { return limit_; }
  // The message of a refused import.
  std::string Refusal() const;

 private:
  uint64_t limit_;
  bool exceeded_ = false;
  uint64_t wanted_ = 0;  // what the process would have held
};

}  // namespace twinfind::dxf

#endif  // DXF_MEMORY_LIMIT_H
