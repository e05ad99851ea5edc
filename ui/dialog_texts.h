// Every text the dialogs show: captions, control texts and list entries, each whole as the
// user reads it. The templates and the dialogs take their texts from here and nowhere else.
#ifndef UI_DIALOG_TEXTS_H
#define UI_DIALOG_TEXTS_H

#include <array>
#include <string_view>

namespace twinfind::ui::texts {

// Captions and the font the templates name.
inline constexpr std::u16string_view kSettingsCaption = u"동일부품검색";
inline constexpr std::u16string_view kColorPickerCaption = u"Color Property";
inline constexpr std::u16string_view kLineTypePickerCaption = u"Line Type Property";
inline constexpr std::u16string_view kDialogFont = u"MS Shell Dlg";

// Push buttons.
inline constexpr std::u16string_view kOk = u"OK";
inline constexpr std::u16string_view kCancel = u"CANCEL";

// The settings dialog: search conditions.
inline constexpr std::u16string_view kSearchConditionsGroup = u"검색조건";
inline constexpr std::u16string_view kSameLayerCheck = u"동일 레이어 검색";
inline constexpr std::u16string_view kSameColorCheck = u"동일 선색ㆍ선종 검색";
inline constexpr std::u16string_view kRotateCheck = u"회전부품을 동일부품으로 취급";
inline constexpr std::u16string_view kSymmetryCheck = u"대칭부품을 동일부품으로 취급";
inline constexpr std::u16string_view kSymmetryNote = u"(회전후 대칭된 형상도 동일부품 인식)";

// The settings dialog: what happens to the found parts.
inline constexpr std::u16string_view kResultGroup = u"검색결과형상";
inline constexpr std::u16string_view kNoActionRadio = u"동작안함";
inline constexpr std::u16string_view kDeleteRadio = u"삭 제";
inline constexpr std::u16string_view kRecolorRadio = u"선색변경";

// The settings dialog: arrangement.
inline constexpr std::u16string_view kArrangeGroup = u"배치유무";
inline constexpr std::u16string_view kArrangeCheck = u"부품배치 합니다.";
inline constexpr std::u16string_view kArrangeWidthLabel = u"◆. 배치간격(Width)";
inline constexpr std::u16string_view kArrangeHeightLabel = u"◆. 배치간격(Height)";

// The settings dialog: the working method.
inline constexpr std::u16string_view kMethodGroup = u"검색방식";
inline constexpr std::u16string_view kGeneralMethodRadio = u"일반검색방식";
inline constexpr std::u16string_view kBalloonMethodRadio = u"풍선배열방식";

// The settings dialog: the balloon array method.
inline constexpr std::u16string_view kBalloonGroup = u"풍선배열방식";
inline constexpr std::u16string_view kAutoArrangeCheck = u"풍선을 자동으로 배치합니다.";
inline constexpr std::u16string_view kBalloonAssyCheck = u"검색시 풍선 부품전체작성";
inline constexpr std::u16string_view kBalloonArrayCheck = u"배치시 풍선 전체작성";
inline constexpr std::u16string_view kBalloonSizeLabel = u"◆. 풍선직경";
inline constexpr std::u16string_view kLeaderSpacingLabel = u"◆. 풍선지시선간격";
inline constexpr std::u16string_view kBalloonLayerCheck = u"풍선 별도레이어작성";
inline constexpr std::u16string_view kLayerNumberLabel = u"◆. 레이어번호";
inline constexpr std::u16string_view kMaterialCheck = u"재질 질문 및 배치";
inline constexpr std::u16string_view kMaterialRowLabel = u"◆. 풍선배치위치";
inline constexpr std::u16string_view kDepthCheck = u"깊이값 질문 및 배치";
inline constexpr std::u16string_view kDepthPrefixLabel = u"◆. 깊이값 전주기";
inline constexpr std::u16string_view kCountCheck = u"풍선내 부품갯수 표시";

// The error line when OK could not store every setting: the next start would silently go back
// to the old values.
inline constexpr char16_t kSettingsNotSaved[] = u"설정을 저장하지 못했습니다.";

// The entries of the material-row list, in the order they are added.
inline constexpr std::array<std::u16string_view, 3> kMaterialRows = {u"1단", u"2단", u"3단"};

}  // namespace twinfind::ui::texts

#endif  // UI_DIALOG_TEXTS_H
