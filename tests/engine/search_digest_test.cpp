// The search finds on generated drawings exactly what it found before it was made faster.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "engine/search_digest.h"

namespace {

// When the search's rules change on purpose, TWINFIND_SEARCH_DIGEST_OUT=FILE writes what it
// finds now, to be compared with the old digest and put in its place.
TEST(SearchDigest, TheSearchFindsWhatItFoundBefore) {
  std::ifstream in(TWINFIND_ENGINE_TEST_DIR "/search_digest.txt");
  std::stringstream before;
  before << in.rdbuf();
  ASSERT_FALSE(before.str().empty());
  const std::string now = searchdigest::SearchDigest();
  if (const char* out = std::getenv("TWINFIND_SEARCH_DIGEST_OUT")) std::ofstream(out) << now;
  EXPECT_EQ(now, before.str());
  // The same with the drawing read once per search and screened against the whole drawing.
  EXPECT_EQ(searchdigest::SearchDigest(true), before.str());
}

}  // namespace
