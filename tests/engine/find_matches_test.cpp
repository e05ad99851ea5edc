// The same-part search over generated drawings with known twins: under every option
// combination it finds exactly the placed twins, with the right mirrored flag, the motion they
// were placed with and each segment paired with its own part segment, and leaves the drawing as
// it found it.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>

#include "host/host.h"
#include "testkit/search_setup.h"
#include "testkit/twin_drawing.h"

namespace {

using drawgen::Placement;
using drawgen::TwinDrawing;
using drawgen::Variant;

struct Options {
  bool rotate, symmetry, layer, color;
};

std::string Describe(const Options& o, uint32_t seed) {
  std::ostringstream s;
  s << "seed " << seed << " rotate " << o.rotate << " symmetry " << o.symmetry << " layer "
    << o.layer << " color " << o.color;
  return s.str();
}

twinfind::SearchOptions SearchOptionsOf(const Options& o) {
  twinfind::SearchOptions options;
  options.rotate = o.rotate;
  options.mirror = o.symmetry;
  options.sameLayer = o.layer;
  options.sameLineAttr = o.color;
  return options;
}

// One placement and whether the search must find it (and as a mirror image).
struct Expectation {
  Placement placement;
  Variant variant;
  bool found;
};

std::vector<Expectation> Plan(const TwinDrawing& d, const Options& o) {
  const double s = d.spacing();
  auto at = [s](int i, double degrees, bool mirrored, int layer = 0, int color = 0) {
    return Placement{s * (i % 4), s * (i / 4), degrees, mirrored, layer, color};
  };
  return {
      {at(1, 0, false), Variant::kTwin, true},
      {at(2, 37.5, false), Variant::kTwin, o.rotate},
      {at(3, 180, false), Variant::kTwin, o.rotate},
      {at(4, 0, true), Variant::kTwin, o.symmetry},
      {at(5, 250, true), Variant::kTwin, o.symmetry && o.rotate},
      {at(6, 0, false, 3), Variant::kTwin, !o.layer},
      {at(7, 0, false, 0, 4), Variant::kTwin, !o.color},
      {at(8, 0, false), Variant::kNearTwin, false},
      {at(9, 90, false), Variant::kExtraHole, false},
      {at(10, 0, false), Variant::kCrossedTwin, true},
      {at(11, 300, false), Variant::kCrossedTwin, o.rotate},
      {at(12, 0, true), Variant::kExtraHole, false},
      // Every segment drawn the other way: its anchor line runs from the other end, which is
      // tried too, so that which way a line was drawn never matters.
      {at(13, 0, false), Variant::kReversedTwin, true},
      {at(14, 120, false), Variant::kReversedTwin, o.rotate},
      {at(15, 200, true), Variant::kReversedTwin, o.rotate && o.symmetry},
  };
}

class FindMatchesTest : public ::testing::Test {
 protected:
  void SetUp() override { vexhost::ResetHost(); }
};

TEST_F(FindMatchesTest, FindsExactlyThePlacedTwinsUnderEveryOptionCombination) {
  for (uint32_t seed = 1; seed <= 6; ++seed) {
    for (int bits = 0; bits < 16; ++bits) {
      const Options o{(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0, (bits & 8) != 0};
      SCOPED_TRACE(Describe(o, seed));
      vexhost::ResetHost();
      TwinDrawing drawing(seed, 6 + static_cast<int>(seed % 3) * 2);
      const auto part = drawing.Place({});
      // The part itself counts among the expected twins.
      std::vector<Expectation> plan = Plan(drawing, o);
      for (const auto& e : plan) drawing.Place(e.placement, e.variant);
      drawing.AddClutter(20, -drawing.spacing(), -drawing.spacing(), 4 * drawing.spacing(),
                         -0.5 * drawing.spacing());
      const std::vector<int> before = drawgen::AllSegments();
      const twinfind::TwinResult result =
          drawgen::SearchTwins(before, part.segments, SearchOptionsOf(o));
      ASSERT_TRUE(result.ok());

      // Compare as sets of segment sets.
      std::set<std::pair<std::set<int>, bool>> expected, found;
      expected.insert({{part.segments.begin(), part.segments.end()}, false});
      for (size_t i = 0; i < plan.size(); ++i) {
        if (!plan[i].found) continue;
        const auto& segments = drawing.placed()[i + 1].segments;
        expected.insert({{segments.begin(), segments.end()}, plan[i].placement.mirrored});
      }
      for (const twinfind::MatchRecord& twin : result.twins) {
        std::set<int> ids;
        for (int r = 1; r <= twin.segmentCount(); ++r) ids.insert(twin.segment(r).segmentId);
        found.insert({ids, twin.mirrored != 0});
        // The twin tells how it lies: the motion of its placement (the part has no turn onto
        // itself, its anchor line being the only one of its length), and each segment the
        // placed copy of the part segment it paired with.
        for (const drawgen::Placed& placed : drawing.placed()) {
          if (std::set<int>(placed.segments.begin(), placed.segments.end()) != ids) continue;
          const twinfind::PlaneMap want = drawgen::MapOf(placed.placement), got = twin.motion;
          for (const auto& [w, g] : {std::pair{want.a, got.a},
                                     {want.b, got.b},
                                     {want.c, got.c},
                                     {want.d, got.d},
                                     {want.tx, got.tx},
                                     {want.ty, got.ty}}) {
            EXPECT_NEAR(g, w, 1e-6);
          }
          ASSERT_EQ(twin.partOf.size(), placed.segments.size());
          for (int r = 1; r <= twin.segmentCount(); ++r) {
            const auto at = static_cast<size_t>(twin.partOf[static_cast<size_t>(r - 1)]);
            ASSERT_LT(at, placed.segments.size());
            EXPECT_EQ(placed.segments[at], twin.segment(r).segmentId);
          }
        }
      }
      EXPECT_EQ(found, expected);
      EXPECT_EQ(result.twins.size(), expected.size());
      // Nothing of the search stays in the drawing or in its lists.
      EXPECT_EQ(drawgen::AllSegments(), before);
      for (const int list : {6, 7, 8}) EXPECT_TRUE(vexhost::TheHost().lists.Contents(list).empty());
      EXPECT_EQ(vexhost::TheHost().holes.outstanding(), 0u);
    }
  }
}

TEST_F(FindMatchesTest, FoundTwinsMarkTheirRangeEntriesUsed) {
  TwinDrawing drawing(3);
  const auto part = drawing.Place({});
  const auto twin = drawing.Place({drawing.spacing(), 0, 45, false});
  const auto other = drawing.Place({2 * drawing.spacing(), 0, 0, false}, Variant::kNearTwin);
  const std::vector<int> all = drawgen::AllSegments();
  const twinfind::TwinResult result =
      drawgen::SearchTwins(all, part.segments, SearchOptionsOf({true, false, false, false}));
  ASSERT_TRUE(result.ok());
  ASSERT_EQ(result.taken.size(), all.size());
  std::set<int> used;
  for (size_t t = 0; t < all.size(); ++t) {
    if (result.taken[t]) used.insert(all[t]);
  }
  std::set<int> expected(part.segments.begin(), part.segments.end());
  expected.insert(twin.segments.begin(), twin.segments.end());
  EXPECT_EQ(used, expected);
  (void)other;
}

TEST_F(FindMatchesTest, WithoutRotationAReversedTwinIsFoundAndANearlyFullTurnIsNot) {
  TwinDrawing drawing(5);
  const auto part = drawing.Place({});
  drawing.Place({drawing.spacing(), 0, 0, false}, Variant::kReversedTwin);
  drawing.Place({2 * drawing.spacing(), 0, 1e-12, false});  // a hair's turn still counts as none
  drawing.Place({3 * drawing.spacing(), 0, -0.0000005 * 180 / std::numbers::pi, false});
  const twinfind::TwinResult result = drawgen::SearchTwins(
      drawgen::AllSegments(), part.segments, SearchOptionsOf({false, false, false, false}));
  ASSERT_TRUE(result.ok());
  EXPECT_EQ(result.twins.size(), 3u);  // the part, the reversed twin and the hair's turn
}

}  // namespace
