// What the user typed for the part being labelled, read by the balloons and the count texts.
#ifndef BALLOON_PART_TEXTS_H
#define BALLOON_PART_TEXTS_H

#include <string>

namespace twinfind {

extern std::u16string materialText;  // the material typed last; kept across commands
extern std::u16string depthText;     // the depth typed last; emptied when a balloon command
                                     // starts, and once written beside a row

}  // namespace twinfind

#endif  // BALLOON_PART_TEXTS_H
