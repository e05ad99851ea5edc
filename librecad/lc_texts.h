// The plug-in's own lines in LibreCAD's command line, in the command's language (the command's
// own lines are its texts table's).
#ifndef LIBRECAD_LC_TEXTS_H
#define LIBRECAD_LC_TEXTS_H

#include <QString>

namespace twinfind::librecad {

struct LcText {
  const char* korean;
  const char* english;
};

// The text in the language the settings choose; %1, %2 stand for arguments (QString::arg).
QString Said(const LcText& text);

namespace lc_texts {
inline constexpr LcText kNotRead{
    "읽지 못한 개체: %1 (LibreCAD의 플러그인 인터페이스가 그 모양을 알려 주지 않습니다)",
    "not read: %1 (LibreCAD's plug-in interface gives no geometry of them)"};
inline constexpr LcText kNothingReadable{"선택한 개체 중에 이 명령이 읽는 종류가 없습니다",
                                         "nothing selected is of a kind the command reads"};
inline constexpr LcText kSomeUnread{"선택한 개체 %1개는 읽지 못한 종류라 빠졌습니다",
                                    "%1 of the entities selected are of kinds not read: left out"};
inline constexpr LcText kLostTrack{
    "새로 만든 개체를 LibreCAD 도면에서 가려내지 못했습니다: 이 실행의 이후 변경이 그 개체에 닿지 "
    "않습니다",
    "the entities just made could not be told apart in LibreCAD's drawing: later changes of this "
    "run do not reach them"};
inline constexpr LcText kNotWritten{"LibreCAD에 해당 개체가 없어 쓰지 못한 도형: %1개",
                                    "figures LibreCAD has no entity for, not written: %1"};
inline constexpr LcText kCannotRead{"도면을 읽지 못했습니다: %1", "cannot read the drawing: %1"};
inline constexpr LcText kRefused{"받지 않음: %1", "not taken: %1"};
inline constexpr LcText kLeaving{"같은 질문에서 두 번 취소하여 명령을 마칩니다",
                                 "given up twice at the same prompt: the command ends"};
inline constexpr LcText kSurveyTitle{"Twinfind 조사", "Twinfind survey"};
inline constexpr LcText kSurveyHeader{"도면 전체에서 동일한 부품의 종류 %1가지 (%2개 세그먼트)",
                                      "%1 families of twins in the whole drawing (%2 segments)"};
inline constexpr LcText kSurveyRow{"%1개 부품, 대칭 %2개, 도형 %3개, %4 x %5",
                                   "%1 parts, %2 mirrored, %3 figures, %4 x %5"};
inline constexpr LcText kSurveyNone{"동일한 부품이 없습니다", "no twins in the drawing"};
inline constexpr LcText kSurveyFind{"찾기", "Find"};
inline constexpr LcText kSurveyClose{"닫기", "Close"};
}  // namespace lc_texts

}  // namespace twinfind::librecad

#endif  // LIBRECAD_LC_TEXTS_H
