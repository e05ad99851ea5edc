#include "librecad/lc_texts.h"

#include "common/language.h"

namespace twinfind::librecad {

QString Said(const LcText& text) {
  return QString::fromUtf8(CurrentLanguage() == Language::kEnglish ? text.english : text.korean);
}

}  // namespace twinfind::librecad
