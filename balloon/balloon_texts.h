// The count texts the balloon labelling writes into the drawing, in every language.
#ifndef BALLOON_BALLOON_TEXTS_H
#define BALLOON_BALLOON_TEXTS_H

namespace twinfind::texts {

inline constexpr char16_t kCountFormat[] = u"%dEA";
inline constexpr char16_t kCountPairFormat[] = u"%d/%dEA";

}  // namespace twinfind::texts

#endif  // BALLOON_BALLOON_TEXTS_H
