#include "dxf/memory_limit.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <limits>

#ifdef _WIN32
#include <windows.h>
// windows.h first: psapi.h needs its types.
#include <psapi.h>
#else
#include <unistd.h>
#endif

namespace twinfind::dxf {
namespace {

constexpr uint64_t kMb = uint64_t{1} << 20;

#ifndef _WIN32
// A number of bytes from a file of the system (a control group's limit); 0 for none.
uint64_t NumberInFile(const char* path) {
  FILE* file = std::fopen(path, "r");
  if (!file) return 0;
  unsigned long long value = 0;
  const bool read = std::fscanf(file, "%llu", &value) == 1;  // "max" reads as no number
  std::fclose(file);
  return read ? value : 0;
}
#endif

}  // namespace

std::optional<uint64_t> ParseMemoryLimitMb(std::string_view text) {
  uint64_t mb = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), mb);
  if (ec != std::errc{} || end != text.data() + text.size() || mb == 0) return std::nullopt;
  if (mb > std::numeric_limits<uint64_t>::max() / kMb) return std::numeric_limits<uint64_t>::max();
  return mb * kMb;
}

bool MemoryLimitOfVariable(std::optional<uint64_t>& limit, std::string& error) {
  const char* set = std::getenv(kMemoryLimitVariable);
  if (set == nullptr) return true;
  limit = ParseMemoryLimitMb(set);
  if (!limit) {
    error = std::string(kMemoryLimitVariable) + " takes a number of megabytes (1 or more), not " +
            set;
  }
  return limit.has_value();
}

uint64_t MachineMemoryBytes() {
#ifdef _WIN32
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof status;
  return GlobalMemoryStatusEx(&status) ? status.ullTotalPhys : 0;
#else
  const long pages = sysconf(_SC_PHYS_PAGES), size = sysconf(_SC_PAGE_SIZE);
  uint64_t bytes = pages > 0 && size > 0 ? uint64_t(pages) * uint64_t(size) : 0;
  for (const char* path :
       {"/sys/fs/cgroup/memory.max", "/sys/fs/cgroup/memory/memory.limit_in_bytes"}) {
    const uint64_t group = NumberInFile(path);
    if (group > 0 && (bytes == 0 || group < bytes)) bytes = group;
  }
  return bytes;
#endif
}

uint64_t DefaultMemoryLimit() {
  if (const char* set = std::getenv(kMemoryLimitVariable)) {
    if (const auto limit = ParseMemoryLimitMb(set)) return *limit;
  }
  const uint64_t machine = MachineMemoryBytes();
  return machine > 0 ? machine / 2 : std::numeric_limits<uint64_t>::max();
}

uint64_t ProcessMemoryBytes() {
#ifdef _WIN32
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(GetCurrentProcess(),
                            reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                            sizeof counters)) {
    return 0;
  }
  return counters.PrivateUsage;
#else
  FILE* file = std::fopen("/proc/self/statm", "r");
  if (!file) return 0;
  unsigned long long size = 0, resident = 0;
  const bool read = std::fscanf(file, "%llu %llu", &size, &resident) == 2;
  std::fclose(file);
  const long page = sysconf(_SC_PAGE_SIZE);
  return read && page > 0 ? resident * uint64_t(page) : 0;
#endif
}

bool MemoryWatch::Fits(uint64_t moreBytes) {
  if (exceeded_) return false;
  if (limit_ == std::numeric_limits<uint64_t>::max()) return true;
  const uint64_t now = ProcessMemoryBytes();
  const uint64_t total =
      now + moreBytes < now ? std::numeric_limits<uint64_t>::max() : now + moreBytes;
  if (total <= limit_) return true;
  exceeded_ = true;
  wanted_ = total;
  return false;
}

std::string MemoryWatch::Refusal() const {
  return "not enough memory: reading this drawing would bring the process to " +
         std::to_string(wanted_ / kMb + 1) + " MB or more, beyond the import's limit of " +
         std::to_string(limit_ / kMb) + " MB (set it with --memory-limit MB or " +
         kMemoryLimitVariable + ")";
}

}  // namespace twinfind::dxf
