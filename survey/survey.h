// The survey: every family of twins in a drawing's range, found without a part being
// indicated. Candidate parts are formed as a user's window would indicate them
// (candidate_parts.h), grouped by a cheap invariant (part_signature.h), and the candidates
// that share one are searched with the command's own search (twin_search.h), so that each
// family is what the command finds when any of its members is indicated.
#ifndef SURVEY_SURVEY_H
#define SURVEY_SURVEY_H

#include <functional>
#include <vector>

#include "host/drawing.h"
#include "settings/search_options.h"
#include "survey/twin_search.h"

namespace twinfind::survey {

struct Family {
  std::vector<int> part;           // the member searched from, in drawing order
  std::vector<FoundTwin> members;  // its parts, the searched one first when it is one of them
  int found = 0;  // twins the search finds from the searched member, in other families' too
  bool partFound = false;  // the searched member is among them (the first)
  int mirrored = 0;        // members that are mirror images of the searched one
  int figures = 0;         // figures of one member
  VexBox box{};            // the extent of the searched member
};

// Families that differ only by rounding (near_families.h), or that look the same but are drawn
// with other strokes (alike_families.h).
struct NearFamilies {
  std::vector<int> families;  // indexes into the survey's families, in their order
  // Near: the largest difference between sizes of their searched members; alike: the farthest a
  // figure of one searched member lies from another's.
  double within = 0;
  double tolerance = 0;  // near: an mTolerance at which one search finds them all; alike: 0
  int count = 0;         // near: the twins that search finds; alike: their parts in all
  bool alike = false;    // drawn with other strokes: no tolerance of the search joins them
};

struct SurveyResult {
  // Parts and holes (family_kinds.h), members times their size largest first; with every family
  // asked for, strokes too. A segment lies in one member of one family at most
  // (family_claims.h).
  std::vector<Family> families;
  std::vector<NearFamilies> near;   // among the families listed
  std::vector<NearFamilies> alike;  // among the families listed
  int strokeFamilies = 0;           // families of strokes left out
  int segments = 0;                 // segments the range holds
  int candidates = 0;               // candidate parts looked at
  int searches = 0;                 // searches made
  long long trials = 0;             // trial placements of those searches
  int refused = 0;  // candidates with an equal invariant that the part step refuses (no line)
  bool cancelled = false;  // stopped by its progress callback: the families found so far
};

// Told how far a survey has come (0 to 1), now and then; false asks it to stop.
using SurveyProgress = std::function<bool(double done)>;
// How far a survey has come when its searches are done: the steps after them (the families
// led, and compared with each other for near and alike ones) take the rest.
inline constexpr double kSurveySearchesShare = 0.9;
// The same for one step of it, asked often (the survey passes on a tenth of a second's calls at
// most); false asks the step to stop.
using StepProgress = std::function<bool(double done)>;

// Whether a segment is a block reference of the file the drawing came from (the host holds it as
// its figures): a block inserted again and again is a part whatever it draws.
using DrawnAsBlock = std::function<bool(int segmentId)>;

// `all`: every family, strokes (single lines, points, open lines and arcs) too.
SurveyResult Survey(const vexhost::Drawing& drawing, const std::vector<int>& range,
                    const SearchOptions& options, const SurveyProgress& progress = nullptr,
                    bool all = false, const DrawnAsBlock& drawnAsBlock = nullptr);

// The box of some segments' figures.
VexBox BoxOf(const vexhost::Drawing& drawing, const std::vector<int>& segments);

// The segments a window over `area` selects for the command's range (every segment with an
// element the range step accepts, lying wholly inside, on a shown layer unless `hiddenLayers`;
// no area: the whole drawing), in drawing order.
std::vector<int> RangeSegments(const vexhost::Drawing& drawing, const VexBox* area,
                               bool hiddenLayers = false);

// The most segments the command's range takes unless the setting mRangeLimit says otherwise.
inline constexpr int kCommandRangeCapacity = 10000;

}  // namespace twinfind::survey

#endif  // SURVEY_SURVEY_H
