// Each segment in at most one family. The command finds a part's twins wherever they lie, so
// the twins of a hole are found inside the plates too, and two searches from members of one
// shape drawn with rounded coordinates can each find some of the same members. A person
// counts each part once: the larger part holds what lies in it.
#ifndef SURVEY_FAMILY_CLAIMS_H
#define SURVEY_FAMILY_CLAIMS_H

#include <vector>

#include "survey/survey.h"

namespace twinfind::survey {

// Gives each segment to one member of one family. Families with larger members claim first
// (a plate before its holes, an outline before the outline inside it), then families with more
// members; a member with a segment already claimed is left to the family that claimed it. A
// family keeps its place only with two members of its own. `found` keeps what the command
// finds from the searched member.
void ClaimSegments(std::vector<Family>& families);

}  // namespace twinfind::survey

#endif  // SURVEY_FAMILY_CLAIMS_H
