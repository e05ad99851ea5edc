// The survey's progress, passed on to its caller's callback at most every tenth of a second:
// the searches take it to kSurveySearchesShare, the steps after them the rest, each step its
// own share.
#ifndef SURVEY_PROGRESS_TELLER_H
#define SURVEY_PROGRESS_TELLER_H

#include <chrono>

#include "survey/survey.h"

namespace twinfind::survey {

class ProgressTeller {
 public:
  explicit ProgressTeller(const SurveyProgress& progress) : progress_(progress) {}

  // Tells how far the whole survey has come; false once it was asked to stop.
  bool Tell(double done) {
    if (!progress_ || stopped_) return !stopped_;
    const auto now = std::chrono::steady_clock::now();
    if (now - told_ < std::chrono::milliseconds(100)) return true;
    told_ = now;
    stopped_ = !progress_(done);
    return !stopped_;
  }

  // A step's own progress (0 to 1) as the part from `from` to `to` of the whole. Its first call
  // is told at once, so that a survey asked to stop stops at the next step whatever its pace.
  StepProgress Share(double from, double to) {
    told_ = {};
    return [this, from, to](double done) { return Tell(from + (to - from) * done); };
  }

  bool stopped() const { return stopped_; }

 private:
  const SurveyProgress& progress_;
  std::chrono::steady_clock::time_point told_{};
  bool stopped_ = false;
};

}  // namespace twinfind::survey

#endif  // SURVEY_PROGRESS_TELLER_H
