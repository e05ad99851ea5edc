#include "survey/survey.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "engine/twin_finder.h"
#include "host/search.h"
#include "survey/alike_families.h"
#include "survey/candidate_parts.h"
#include "survey/family_claims.h"
#include "survey/family_kinds.h"
#include "survey/joined_families.h"
#include "survey/near_families.h"
#include "survey/part_signature.h"
#include "survey/progress_teller.h"

namespace twinfind::survey {
namespace {

struct Candidate {
  int part = 0;               // in the forest
  std::vector<int> segments;  // with what lies inside it
  PartSignature signature;
  int depth = 0;      // how many outlines it lies inside
  bool done = false;  // searched, or taken by a family
  // The searched candidate whose search laid a whole copy on this one's segments and passed it
  // over for what more lay in its window (something inside it or across it); -1: none. Its own
  // search is then likely to find those twins again.
  int echoOf = -1;
  std::vector<std::vector<int>> found;  // when searched: its twins, each sorted, in order
};

class Surveyor {
 public:
  Surveyor(const vexhost::Drawing& drawing, const std::vector<int>& range,
           const SearchOptions& options, ProgressTeller& progress)
      : drawing_(drawing),
        options_(options),
        search_(drawing, options, range),
        progress_(progress) {
    result_.segments = static_cast<int>(range.size());
    // A long search is asked too, so that a cancel stops the survey within it.
    search_.SetGoOn([this] { return GoOn(done_); });
    forest_ = FormCandidates(drawing, range, CoordinateTolerance(options));
  }

  SurveyResult Run() {
    const size_t n = forest_.parts.size();
    // Depths, from the roots down; and what each part holds with everything inside it (its
    // segments and figures by kind), from the leaves up: a part whose count is shared with no
    // other has no twin, and its segments are never gathered. So deep nesting (outlines inside
    // outlines) costs what the drawing holds, not its square.
    std::vector<int> depth(n, 0);
    std::vector<size_t> downward;  // every part after its parent
    for (const int root : forest_.roots) downward.push_back(static_cast<size_t>(root));
    for (size_t i = 0; i < downward.size(); ++i) {
      for (const int child : forest_.parts[downward[i]].children) {
        depth[static_cast<size_t>(child)] = depth[downward[i]] + 1;
        downward.push_back(static_cast<size_t>(child));
      }
    }
    std::vector<std::array<int64_t, 11>> held(n);  // segments, then figures of kinds 0 to 9
    for (size_t p = 0; p < n; ++p) {
      held[p].fill(0);
      held[p][0] = static_cast<int64_t>(forest_.parts[p].own.size());
      for (const int id : forest_.parts[p].own) {
        for (const FigureRecord& f : FiguresOf(drawing_, id))
          ++held[p][1 + std::clamp(f.kind, 0, 9)];
      }
    }
    for (size_t i = downward.size(); i-- > 0;) {
      const int parent = forest_.parts[downward[i]].parent;
      if (parent < 0) continue;
      for (size_t k = 0; k < held[downward[i]].size(); ++k) {
        held[static_cast<size_t>(parent)][k] += held[downward[i]][k];
      }
    }
    std::map<std::array<int64_t, 11>, int> alike;
    for (size_t p = 0; p < n; ++p) ++alike[held[p]];

    // Every group with an equal among the others is a candidate, with what lies inside it.
    // Groups are searched outermost first, so that what lies inside a part with twins is
    // taken with it (its holes are no family of their own), while the contents of a part
    // without twins (a frame, a board outline, a rug under a sofa) are searched on their own,
    // together with their equals at any depth.
    std::vector<Candidate> candidates;
    for (size_t p = 0; p < n; ++p) {
      if (alike[held[p]] < 2) continue;
      Candidate c;
      c.part = static_cast<int>(p);
      c.depth = depth[p];
      c.segments = SegmentsOf(forest_, c.part);
      c.signature = SignatureOf(drawing_, c.segments, options_);
      candidates.push_back(std::move(c));
    }
    result_.candidates = static_cast<int>(n);
    SurveyAll(candidates);
    result_.trials = search_.candidates();
    std::sort(result_.families.begin(), result_.families.end(),
              [](const Family& a, const Family& b) {
                if (a.members.size() != b.members.size()) {
                  return a.members.size() > b.members.size();
                }
                if (a.figures != b.figures) return a.figures > b.figures;
                if (a.box.minY != b.box.minY) return a.box.minY < b.box.minY;
                return a.box.minX < b.box.minX;
              });
    return std::move(result_);
  }

 private:
  // Whether the segments all lie in one member of a family found so far: that member, or
  // something inside it (a hole of a plate), which forms no family of its own.
  bool Covered(const std::vector<int>& segments) const {
    if (segments.empty()) return false;
    const auto holding = memberOf_.find(segments.front());
    if (holding == memberOf_.end()) return false;
    for (const size_t m : holding->second) {
      const std::vector<int>& member = members_[m];
      if (std::all_of(segments.begin(), segments.end(), [&](int id) {
            return std::binary_search(member.begin(), member.end(), id);
          })) {
        return true;
      }
    }
    return false;
  }

  void SurveyAll(std::vector<Candidate>& candidates) {
    std::map<std::string, std::vector<size_t>> byInvariant;
    for (size_t i = 0; i < candidates.size(); ++i) {
      byInvariant[candidates[i].signature.exact].push_back(i);
    }
    // Buckets in the order of their deepest member, then of their shallowest.
    std::vector<std::vector<size_t>> buckets;
    std::vector<std::pair<std::pair<int, int>, size_t>> order;
    for (auto& [exact, members] : byInvariant) {
      if (members.size() < 2) continue;
      int deepest = 0, shallowest = 1 << 30;
      for (const size_t i : members) {
        deepest = std::max(deepest, candidates[i].depth);
        shallowest = std::min(shallowest, candidates[i].depth);
      }
      order.push_back({{deepest, shallowest}, buckets.size()});
      buckets.push_back(std::move(members));
    }
    std::stable_sort(order.begin(), order.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    const double slack = SizeSlack(options_);
    size_t visited = 0;  // candidates looked at, for the progress
    for (const auto& [depths, b] : order) {
      std::vector<size_t>& members = buckets[b];
      if (members.size() < 2) continue;
      if (candidates[members[0]].signature.anchors == 0) {
        // No line, circle or arc to lay a copy on: the part step refuses such a part.
        result_.refused += static_cast<int>(members.size());
        continue;
      }
      // By the sums of their sizes, those equal within the slack in the order the candidates
      // were formed: rounding noise (the drawing turned) must not change which one is searched
      // from first.
      std::stable_sort(members.begin(), members.end(), [&](size_t a, size_t b) {
        return std::floor(candidates[a].signature.total / slack) <
               std::floor(candidates[b].signature.total / slack);
      });
      for (size_t k = 0; k < members.size(); ++k) {
        ++visited;
        if (!GoOn(static_cast<double>(visited) / static_cast<double>(candidates.size()))) return;
        Candidate& c = candidates[members[k]];
        if (c.done || Covered(c.segments)) continue;
        if (!AnotherAgrees(candidates, members, k, slack)) continue;
        c.done = true;
        const auto twins = SearchFrom(candidates, members[k]);
        if (!twins) continue;
        MarkEchoes(candidates, members, k, slack);
        if (!OwnFamily(*twins)) continue;
        size_t family = AddFamily(c.segments, *twins);
        if (family == kNoFamily) continue;
        // The search is not always symmetric (a candidate line of the searched member may
        // miss the length tolerance where another member's does not): left-over candidates
        // that agree with the family, then a mirrored and a turned member, are searched from
        // as well, and the larger family that holds the first one is kept.
        // Each with the candidate it is (kNotCandidate: a member of the family, searched even
        // so).
        std::vector<std::pair<std::vector<int>, size_t>> from;
        // Only members whose sizes' sums lie within reach can agree (the bucket is in their
        // order): no pass over the whole bucket per search.
        const double reach = slack * static_cast<double>(c.signature.sizes.size() + 1);
        size_t lo = k, hi = k;
        while (lo > 0 && std::fabs(candidates[members[lo - 1]].signature.total -
                                   c.signature.total) <= reach) {
          --lo;
        }
        while (hi + 1 < members.size() && std::fabs(candidates[members[hi + 1]].signature.total -
                                                    c.signature.total) <= reach) {
          ++hi;
        }
        for (size_t other = lo; other <= hi; ++other) {
          const Candidate& o = candidates[members[other]];
          if (o.done || Covered(o.segments) || !SizesAgree(c.signature, o.signature, slack)) {
            continue;
          }
          from.push_back({o.segments, members[other]});
        }
        if (!from.empty()) {
          const Family& first = result_.families[family];
          const auto mirrored = std::find_if(first.members.begin(), first.members.end(),
                                             [](const FoundTwin& t) { return t.mirrored; });
          const auto turned = std::find_if(first.members.begin(), first.members.end(),
                                           [](const FoundTwin& t) { return t.angleDegrees != 0; });
          for (const auto& it : {mirrored, turned}) {
            if (it == first.members.end()) continue;
            std::vector<int> part = it->segments;
            std::sort(part.begin(), part.end());
            from.push_back({part, kNotCandidate});
          }
        }
        for (const auto& [part, candidate] : from) {
          if (family == kNoFamily) break;
          const bool member = candidate == kNotCandidate;
          // A left-over taken by a family found from another left-over finds that family.
          if (!member && Covered(part)) continue;
          std::optional<std::vector<FoundTwin>> more;
          if (member) {
            ++result_.searches;
            more = search_.Search(part);
          } else {
            more = SearchFrom(candidates, candidate);
          }
          if (!more || more->size() < 2) continue;
          std::unordered_set<int> found;
          for (const FoundTwin& t : *more) found.insert(t.segments.begin(), t.segments.end());
          bool holds = true, meets = false;
          for (const FoundTwin& t : result_.families[family].members) {
            for (const int id : t.segments) {
              const bool in = found.count(id) != 0;
              holds = holds && in;
              meets = meets || in;
            }
          }
          if (!meets) {
            // Twins of their own (the mirror images, when they do not count): a family too.
            if (!Covered(part) && OwnFamily(*more)) AddFamily(part, *more);
            continue;
          }
          if (!holds || more->size() <= result_.families[family].members.size()) continue;
          DropFamily(family);
          family = AddFamily(part, *more);
        }
      }
    }
  }

  static constexpr size_t kNotCandidate = SIZE_MAX;

  // Searches from the candidate and keeps its twins; nothing (and no search) when it echoes a
  // candidate one of whose echoes was searched and found the same twins: the other left-overs
  // passed over for what lies around them are then passed over for good, not searched one by
  // one (a thousand wall circles of one radius, most with something inside or across them, are
  // two searches, not hundreds).
  std::optional<std::vector<FoundTwin>> SearchFrom(std::vector<Candidate>& candidates,
                                                   size_t index) {
    Candidate& c = candidates[index];
    const int echo = c.echoOf;
    if (echo >= 0 && echoConfirmed_.count(echo) != 0) return std::nullopt;
    ++result_.searches;
    auto twins = search_.Search(c.segments);
    if (!twins) {
      ++result_.refused;
      return std::nullopt;
    }
    c.found.clear();
    for (const FoundTwin& t : *twins) {
      std::vector<int> sorted = t.segments;
      std::sort(sorted.begin(), sorted.end());
      c.found.push_back(std::move(sorted));
    }
    if (echo >= 0 && c.found == candidates[static_cast<size_t>(echo)].found) {
      echoConfirmed_.insert(echo);
    }
    return twins;
  }

  // After the k-th candidate of the bucket was searched: the left-overs within reach where its
  // search found the whole part but something more around it echo it.
  void MarkEchoes(std::vector<Candidate>& candidates, const std::vector<size_t>& members, size_t k,
                  double slack) {
    if (search_.crowded().empty()) return;
    const std::set<std::vector<int>> crowded(search_.crowded().begin(), search_.crowded().end());
    const Candidate& c = candidates[members[k]];
    const double reach = slack * static_cast<double>(c.signature.sizes.size() + 1);
    for (int step : {-1, 1}) {
      for (long j = static_cast<long>(k) + step; j >= 0 && j < static_cast<long>(members.size());
           j += step) {
        Candidate& other = candidates[members[static_cast<size_t>(j)]];
        if (std::fabs(other.signature.total - c.signature.total) > reach) break;
        // Sizes equal within the search's own tolerance: the searches from both weigh every
        // candidate alike (one of a rounding apart can find twins of its own).
        if (!other.done && other.echoOf < 0 && crowded.count(other.segments) != 0 &&
            SizesAgree(c.signature, other.signature, options_.tolerance)) {
          other.echoOf = static_cast<int>(members[k]);
        }
      }
    }
  }

  // Tells the progress; false when the survey is to stop.
  bool GoOn(double done) {
    done_ = done;
    result_.cancelled = !progress_.Tell(kSurveySearchesShare * done);
    return !result_.cancelled;
  }

  // Whether the twins make a family of their own: at least two of them lie in no member of
  // a family found before. The twins the command finds from a hole of a plate are mostly the
  // holes of the plate's family, and those belong to their plates.
  bool OwnFamily(const std::vector<FoundTwin>& twins) const {
    int own = 0;
    for (const FoundTwin& t : twins) {
      std::vector<int> sorted = t.segments;
      std::sort(sorted.begin(), sorted.end());
      own += Covered(sorted) ? 0 : 1;
    }
    return own >= 2;
  }

  // Whether another candidate of the bucket, not yet in a family, agrees in its sizes with the
  // k-th (the bucket is in the order of the sizes' sums).
  bool AnotherAgrees(const std::vector<Candidate>& candidates, const std::vector<size_t>& members,
                     size_t k, double slack) const {
    const PartSignature& s = candidates[members[k]].signature;
    const double reach = slack * static_cast<double>(s.sizes.size() + 1);
    for (int step : {-1, 1}) {
      for (long j = static_cast<long>(k) + step; j >= 0 && j < static_cast<long>(members.size());
           j += step) {
        const Candidate& other = candidates[members[static_cast<size_t>(j)]];
        if (std::fabs(other.signature.total - s.total) > reach) break;
        if (!Covered(other.segments) && SizesAgree(s, other.signature, slack)) return true;
      }
    }
    return false;
  }

  static constexpr size_t kNoFamily = SIZE_MAX;

  // Adds the family and returns its index (kNoFamily when fewer than two twins make none).
  size_t AddFamily(const std::vector<int>& part, std::vector<FoundTwin> twins) {
    if (twins.size() < 2) return kNoFamily;
    Family family;
    family.part = part;
    family.figures = 0;
    for (const int id : part) family.figures += static_cast<int>(FiguresOf(drawing_, id).size());
    family.box = BoxOf(drawing_, part);
    // The searched member first.
    const auto self = std::find_if(twins.begin(), twins.end(), [&](const FoundTwin& t) {
      std::vector<int> sorted = t.segments;
      std::sort(sorted.begin(), sorted.end());
      return sorted == part;
    });
    family.partFound = self != twins.end();
    if (family.partFound) std::rotate(twins.begin(), self, self + 1);
    std::vector<size_t> ids;
    for (FoundTwin& t : twins) {
      family.mirrored += t.mirrored ? 1 : 0;
      std::vector<int> member = t.segments;
      std::sort(member.begin(), member.end());
      for (const int id : member) memberOf_[id].push_back(members_.size());
      ids.push_back(members_.size());
      members_.push_back(std::move(member));
    }
    family.found = static_cast<int>(twins.size());
    family.members = std::move(twins);
    result_.families.push_back(std::move(family));
    familyMembers_.push_back(std::move(ids));
    return result_.families.size() - 1;
  }

  // Takes a family back, with its members: their segments are free again.
  void DropFamily(size_t family) {
    for (const size_t m : familyMembers_[family]) members_[m].clear();
    result_.families.erase(result_.families.begin() + static_cast<long>(family));
    familyMembers_.erase(familyMembers_.begin() + static_cast<long>(family));
  }

  const vexhost::Drawing& drawing_;
  SearchOptions options_;
  TwinSearch search_;
  ProgressTeller& progress_;
  double done_ = 0;  // as last told
  CandidateForest forest_;
  std::vector<std::vector<int>> members_;  // every family's members, sorted (emptied: dropped)
  std::vector<std::vector<size_t>> familyMembers_;         // per family, its members' numbers
  std::unordered_map<int, std::vector<size_t>> memberOf_;  // segment: members holding it
  std::unordered_set<int> echoConfirmed_;  // candidates an echo of which found the same twins
  SurveyResult result_;
};

// Members tried as a family's new lead at most.
constexpr size_t kMostLeads = 8;

// Leads the family with the first of the members at `tries` from which the command, over the
// family's parts, finds them all; the members then are that search's, turned and mirrored from
// the new lead. False when none does: the family keeps its members.
bool Relead(const vexhost::Drawing& drawing, const SearchOptions& options, Family& family,
            const std::vector<size_t>& tries) {
  std::vector<int> area;
  for (const FoundTwin& t : family.members)
    area.insert(area.end(), t.segments.begin(), t.segments.end());
  std::sort(area.begin(), area.end());
  TwinSearch search(drawing, options, area);
  for (const size_t k : tries) {
    std::vector<int> lead = family.members[k].segments;
    std::sort(lead.begin(), lead.end());
    auto twins = search.Search(lead);
    if (!twins || twins->size() != family.members.size()) continue;
    const auto self = std::find_if(twins->begin(), twins->end(), [&](const FoundTwin& t) {
      std::vector<int> sorted = t.segments;
      std::sort(sorted.begin(), sorted.end());
      return sorted == lead;
    });
    if (self == twins->end()) continue;
    std::rotate(twins->begin(), self, self + 1);
    family.part = lead;
    family.box = BoxOf(drawing, lead);
    family.mirrored = 0;
    for (const FoundTwin& t : *twins) family.mirrored += t.mirrored ? 1 : 0;
    family.members = std::move(*twins);
    family.partFound = true;
    return true;
  }
  return false;
}

// A family whose searched member went to another family (claims) is led by one of its own
// parts, so that indicating its first part finds what it lists. A family with more mirror
// images than not is led by one of the mirror images, so that which hand is told mirrored does
// not hang on which member the survey came to first (the same drawing turned or its entities
// in another order): the larger hand is the plain one.
// False when the progress asked it to stop.
bool LeadFamilies(const vexhost::Drawing& drawing, const SearchOptions& options,
                  std::vector<Family>& families, const StepProgress& progress) {
  for (size_t f = 0; f < families.size(); ++f) {
    if (!progress(static_cast<double>(f) / static_cast<double>(families.size()))) return false;
    Family& family = families[f];
    std::vector<size_t> tries;
    if (!family.partFound) {
      for (size_t k = 0; k < std::min(kMostLeads, family.members.size()); ++k) tries.push_back(k);
    } else if (2 * family.mirrored > static_cast<int>(family.members.size())) {
      for (size_t k = 0; k < family.members.size() && tries.size() < kMostLeads; ++k) {
        if (family.members[k].mirrored) tries.push_back(k);
      }
    }
    if (!tries.empty()) Relead(drawing, options, family, tries);
  }
  return true;
}

}  // namespace

VexBox BoxOf(const vexhost::Drawing& drawing, const std::vector<int>& segments) {
  VexBox box{};
  bool first = true;
  for (const int id : segments) {
    const auto b = drawing.SegmentBounds(id);
    if (!b) continue;
    box = first ? *b
                : VexBox{std::min(box.minX, b->minX), std::min(box.minY, b->minY),
                         std::max(box.maxX, b->maxX), std::max(box.maxY, b->maxY)};
    first = false;
  }
  return box;
}

std::vector<int> RangeSegments(const vexhost::Drawing& drawing, const VexBox* area,
                               bool hiddenLayers) {
  return hiddenLayers ? vexhost::SearchSegments(drawing, area, CompareElementType,
                                                vexhost::SearchMode::kWindow)
                      : vexhost::SelectSegments(drawing, area, CompareElementType);
}

static_assert(kCommandRangeCapacity == kDefaultRangeLimit);

SurveyResult Survey(const vexhost::Drawing& drawing, const std::vector<int>& range,
                    const SearchOptions& options, const SurveyProgress& progress, bool all,
                    const DrawnAsBlock& drawnAsBlock) {
  ProgressTeller teller(progress);
  // Nothing changes the drawing while the survey searches it: it is read once for all searches.
  const DrawingReadHold held;
  SurveyResult result = Surveyor(drawing, range, options, teller).Run();
  ClaimSegments(result.families);
  JoinTouchingFamilies(drawing, range, options, result.families,
                       teller.Share(kSurveySearchesShare, 0.91));
  LeadFamilies(drawing, options, result.families, teller.Share(0.91, 0.93));
  result.strokeFamilies =
      RankAndKeepParts(drawing, result.families, all, CoordinateTolerance(options), drawnAsBlock);
  if (!teller.stopped()) {
    result.near =
        FindNearFamilies(drawing, range, result.families, options, teller.Share(0.93, 0.95));
  }
  if (!teller.stopped()) {
    result.alike =
        FindAlikeFamilies(drawing, result.families, result.near, options, teller.Share(0.95, 1.0));
  }
  result.cancelled = teller.stopped();
  return result;
}

}  // namespace twinfind::survey
