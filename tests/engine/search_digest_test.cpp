// The search finds on generated drawings exactly what it found before it was made faster.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "engine/search_digest.h"

namespace {

TEST(SearchDigest, TheSearchFindsWhatItFoundBefore) {
  std::ifstream in(TWINFIND_ENGINE_TEST_DIR "/search_digest.txt");
  std::stringstream before;
  before << in.rdbuf();
  ASSERT_FALSE(before.str().empty());
  EXPECT_EQ(searchdigest::SearchDigest(), before.str());
}

}  // namespace
