// Replays the inputs kept for one fuzz target through its entry point, so that every input a
// fuzzer once failed on, and every seed, keeps passing the target's checks in the normal and
// sanitizer builds. A failed check ends the program with the target's message; the input being
// replayed is named on standard error before it runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

TEST(FuzzReplay, EveryKeptInputPassesTheTargetsChecks) {
  std::vector<std::filesystem::path> inputs;
  for (const char* dir : {TWINFIND_FUZZ_INPUT_DIRS}) {
    if (!std::filesystem::is_directory(dir)) continue;  // a target that never failed keeps none
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
      if (entry.is_regular_file() && entry.path().filename() != "README.md") {
        inputs.push_back(entry.path());
      }
    }
  }
  std::sort(inputs.begin(), inputs.end());
  ASSERT_FALSE(inputs.empty());
  for (const auto& path : inputs) {
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << path;
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::fprintf(stderr, "replaying %s\n", path.c_str());
    EXPECT_EQ(LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()),
              0);
  }
}

}  // namespace
