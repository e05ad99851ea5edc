// The drawing read once for many searches (engine/twin_finder.h DrawingReadHold): under a hold
// the search finds what it finds without one, its trial screen (which a row of near twins
// turns on) included, and a hold let go lets go of what it read, so that a later hold reads the
// drawing as it is then.
#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <vector>

#include "engine/twin_finder.h"
#include "host/host.h"
#include "testkit/search_setup.h"
#include "testkit/twin_drawing.h"

namespace {

// The twins as sorted segment ids, mirror images marked.
std::set<std::vector<int>> TwinsOf(const twinfind::TwinResult& found) {
  std::set<std::vector<int>> twins;
  for (const twinfind::MatchRecord& match : found.twins) {
    std::vector<int> ids;
    for (int i = 1; i <= match.segmentCount(); ++i) ids.push_back(match.segment(i).segmentId);
    std::sort(ids.begin(), ids.end());
    if (match.mirrored != 0) ids.push_back(-1);
    twins.insert(ids);
  }
  return twins;
}

TEST(DrawingReadTest, AHeldSearchFindsWhatTheSearchFindsAndAReleasedHoldReadsAgain) {
  struct Case {
    bool rotate, mirror;
  };
  for (const Case c : {Case{false, false}, Case{true, false}, Case{true, true}}) {
    SCOPED_TRACE(testing::Message() << "rotate " << c.rotate << " mirror " << c.mirror);
    vexhost::ResetHost();
    // A part of five segments, each near twin of which fails several trials: with turns and
    // mirror images most segments visited make failing trials, which turns the screen on.
    uint32_t seed = 1;
    while (drawgen::TwinDrawing(seed, 5).segmentCount() != 5) ++seed;
    vexhost::ResetHost();
    drawgen::TwinDrawing drawing(seed, 5);
    const double s = drawing.spacing();
    const auto part = drawing.Place({});
    // Near twins first, then twins behind them.
    for (int i = 1; i <= 60; ++i) {
      drawing.Place({s * (i % 10), s * (i / 10), c.rotate ? 37.3 * i : 0, c.mirror && i % 2 == 1},
                    drawgen::Variant::kNearTwin);
    }
    for (int i = 0; i < 6; ++i) {
      drawing.Place({s * i, s * 7, c.rotate ? 29.0 * i : 0, c.mirror && i % 2 == 1});
    }
    twinfind::SearchOptions options;
    options.rotate = c.rotate;
    options.mirror = c.mirror;
    const auto plain = drawgen::SearchTwins(drawgen::AllSegments(), part.segments, options);
    ASSERT_TRUE(plain.ok());
    EXPECT_EQ(plain.twins.size(), 7u);
    std::optional<twinfind::DrawingReadHold> hold(std::in_place);
    for (int round = 0; round < 2; ++round) {  // the second reads what the first kept
      const auto held = drawgen::SearchTwins(drawgen::AllSegments(), part.segments, options);
      ASSERT_TRUE(held.ok());
      EXPECT_EQ(TwinsOf(held), TwinsOf(plain)) << "round " << round;
    }
    hold.reset();
    // One more twin after the hold: a new hold finds it.
    drawing.Place({s * 6, s * 7, 0, false});
    hold.emplace();
    const auto later = drawgen::SearchTwins(drawgen::AllSegments(), part.segments, options);
    ASSERT_TRUE(later.ok());
    EXPECT_EQ(later.twins.size(), 8u);
  }
}

}  // namespace
