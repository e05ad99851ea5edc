// The messages of the search, exactly as the user sees them.
#ifndef ENGINE_ENGINE_TEXTS_H
#define ENGINE_ENGINE_TEXTS_H

#include "engine/door_check.h"

namespace twinfind::texts {

inline constexpr char16_t kWindowOverflowT03[] = u"검색대상이 메모리할당영역을 초과했습니다.(T03)";
inline constexpr char16_t kCopyOverflowT04[] = u"검색대상이 메모리할당영역을 초과했습니다.(T04)";
inline constexpr char16_t kMirrorOverflowT05[] = u"검색대상이 메모리할당영역을 초과했습니다.(T05)";
inline constexpr char16_t kCopyErrorT03[] = u"복사처리에 에러가 발생했습니다(T03)";
inline constexpr char16_t kMirrorCopyError[] = u"복사처리에 에러가 발생했습니다";

// Our own: what the search could not keep.
inline constexpr char16_t kMatchesLeftOut[] =
    u"동일한 부품이 499개를 넘어 %d개는 목록에서 제외되었습니다.";

}  // namespace twinfind::texts

#endif  // ENGINE_ENGINE_TEXTS_H
