// The prompts, cursor texts and messages of the two prompt chains, exactly as the user sees
// them.
#ifndef PLUGIN_TEXTS_H
#define PLUGIN_TEXTS_H

namespace twinfind::texts {

// Both methods.
inline constexpr char16_t kRangeCursor[] = u"대상";
inline constexpr char16_t kRangePrompt[] = u"검색대상 범위지시(종료버튼:Dialog) :";
inline constexpr char16_t kPartCursor[] = u"부품";
inline constexpr char16_t kPartPrompt[] = u"부품형상 범위지시 :";

// General method.
inline constexpr char16_t kTargetsOverflowT01[] = u"검색대상이 메모리할당영역을 초과했습니다.(T01)";
inline constexpr char16_t kSelectShape[] = u"형상을 선택하셔야 합니다.";
inline constexpr char16_t kPartOverflowS[] = u"검색대상이 메모리할당영역을 초과했습니다.(S)";
inline constexpr char16_t kApiDataError[] = u"Api Data에 에러가 발생했습니다";
inline constexpr char16_t kOutlineError[] = u"외곽영역을 적합하게 얻을수 없었습니다.";
inline constexpr char16_t kNeedLine[] = u"최소한 한개이상의 라인요소가 있어야 합니다.";
inline constexpr char16_t kSearchError[] = u"검색시 오류가 발생하였습니다.";
inline constexpr char16_t kNoIdentical[] = u"동일한 부품이 없습니다.";
inline constexpr char16_t kFoundCount[] = u"총 %d개의 동일한 부품을 발견하였습니다.";
inline constexpr char16_t kConfirmArrange[] = u"형상확인을 하셨습니까?(● 확인 : 부품배치)";
inline constexpr char16_t kConfirmEnd[] = u"형상확인을 하셨습니까?(● 확인 : 종료버튼)";
inline constexpr char16_t kPlacePrompt[] = u" 배치좌표 :";
inline constexpr char16_t kCopyListError[] = u"Api로 복사할 수 없습니다.";

// Balloon method.
inline constexpr char16_t kTargetsOverflowT02[] = u"검색대상이 메모리할당영역을 초과했습니다.(T02)";
inline constexpr char16_t kSelectShapeT02[] = u"형상을 선택하셔야 합니다.(T02)";
inline constexpr char16_t kMaterialCursor[] = u"Material:";
inline constexpr char16_t kMaterialPromptCurrent[] = u"부품 재질입력  (현재:%s) :";
inline constexpr char16_t kMaterialPrompt[] = u"부품 재질입력 :";
inline constexpr char16_t kMaterialMissing[] = u"재질을 입력해주세요.";
inline constexpr char16_t kPartNumberPrompt[] = u"부품번호입력 (현재:%s) :";
inline constexpr char16_t kDepthCursor[] = u"Depth:";
inline constexpr char16_t kDepthPrompt[] = u"부품 깊이입력 :";
inline constexpr char16_t kPartOverflowS02[] = u"검색대상이 메모리할당영역을 초과했습니다.(S02)";
inline constexpr char16_t kApiDataErrorS02[] = u"Api Data에 에러가 발생했습니다.(S02)";
inline constexpr char16_t kSelectShapeS02[] = u"형상을 선택하셔야 합니다.(S02)";
inline constexpr char16_t kOutlineErrorS02[] = u"외곽영역을 적합하게 얻을수 없었습니다.(S02)";
inline constexpr char16_t kNeedLineS02[] = u"최소한 한개이상의 라인요소가 있어야 합니다.(S02)";
inline constexpr char16_t kSearchErrorS02[] = u"검색시 오류가 발생하였습니다.(S02)";
inline constexpr char16_t kNoIdenticalS02[] = u"동일한 부품이 없습니다.(S02)";
inline constexpr char16_t kFoundCountS02[] = u"총 %d개의 동일한 부품을 발견하였습니다.(S02)";
inline constexpr char16_t kBalloonConfirm[] = u"형상확인을 하셨습니까?(● 확인 : 부품번호입력)";
inline constexpr char16_t kBalloonPlacePrompt[] = u"풍선배치위치지시(종료:자동배치):";

// Our own: a fault inside the plug-in ends the command instead of taking the host down.
inline constexpr char16_t kInternalError[] = u"내부 오류로 명령을 종료합니다.";

}  // namespace twinfind::texts

#endif  // PLUGIN_TEXTS_H
