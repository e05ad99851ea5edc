// What the search finds on a set of generated drawings, as text: one line per drawing and
// option combination, listing every twin (its segment ids, and whether mirrored). The search
// must go on finding exactly this however it is made faster; search_digest.txt holds the
// digest of the search as it was before.
#ifndef TESTS_ENGINE_SEARCH_DIGEST_H
#define TESTS_ENGINE_SEARCH_DIGEST_H

#include <algorithm>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "host/host.h"
#include "testkit/search_setup.h"
#include "testkit/twin_drawing.h"

namespace searchdigest {

// With `held`, each search runs under a hold of the drawing read (engine/twin_finder.h), as the
// survey's do.
inline std::string SearchDigest(bool held = false) {
  using drawgen::Placement;
  using drawgen::Variant;
  std::ostringstream out;
  for (uint32_t seed = 1; seed <= 4; ++seed) {
    for (int bits = 0; bits < 16; ++bits) {
      vexhost::ResetHost();
      drawgen::TwinDrawing drawing(seed, 6 + static_cast<int>(seed) * 3);
      const double s = drawing.spacing();
      const auto part = drawing.Place({});
      const Variant variants[] = {Variant::kTwin, Variant::kNearTwin, Variant::kExtraHole,
                                  Variant::kCrossedTwin, Variant::kReversedTwin};
      for (int i = 1; i <= 20; ++i) {
        const Placement p{s * (i % 5), s * (i / 5),        23.0 * i * (seed % 2),
                          i % 3 == 0,  i % 7 == 0 ? 2 : 0, i % 6 == 0 ? 3 : 0};
        drawing.Place(p, variants[(i + seed) % 5]);
      }
      drawing.AddClutter(30, -s, -s, 5 * s, 5 * s);
      twinfind::SearchOptions options;
      options.rotate = (bits & 1) != 0;
      options.mirror = (bits & 2) != 0;
      options.sameLayer = (bits & 4) != 0;
      options.sameLineAttr = (bits & 8) != 0;
      out << "seed " << seed << " options " << bits << ":";
      std::optional<twinfind::DrawingReadHold> hold;
      if (held) hold.emplace();
      const twinfind::TwinResult found =
          drawgen::SearchTwins(drawgen::AllSegments(), part.segments, options);
      if (!found.ok()) {
        out << " failed\n";
        continue;
      }
      std::vector<std::string> twins;
      for (const twinfind::MatchRecord& match : found.twins) {
        std::set<int> ids;
        for (int i = 1; i <= match.segmentCount(); ++i) ids.insert(match.segment(i).segmentId);
        std::string twin = match.mirrored != 0 ? " m" : " ";
        for (const int id : ids) twin += std::to_string(id) + ",";
        twins.push_back(twin);
      }
      for (const std::string& twin : twins) out << twin;
      out << "\n";
    }
  }
  return out.str();
}

}  // namespace searchdigest

#endif  // TESTS_ENGINE_SEARCH_DIGEST_H
