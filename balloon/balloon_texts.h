// The texts of the balloon labelling, exactly as the user sees them.
#ifndef BALLOON_BALLOON_TEXTS_H
#define BALLOON_BALLOON_TEXTS_H

namespace twinfind::texts {

inline constexpr char16_t kCountFormat[] = u"%dEA";
inline constexpr char16_t kCountPairFormat[] = u"%d/%dEA";

// Our own: a part without an element to hang a balloon on gets none.
inline constexpr char16_t kNoBalloonAnchor[] =
    u"풍선을 붙일 요소가 없는 부품 %d개에는 풍선을 만들지 않았습니다.";

}  // namespace twinfind::texts

#endif  // BALLOON_BALLOON_TEXTS_H
