// Where the user's actions on a text-mode dialog come from: lines queued by a test, or a
// source the tool installs that reads them from its script or the terminal.
#ifndef HOST_DIALOG_INPUT_H
#define HOST_DIALOG_INPUT_H

#include <deque>
#include <functional>
#include <optional>
#include <string>

namespace vexhost {

class DialogInput {
 public:
  using Source = std::function<std::optional<std::u16string>()>;

  // Queued actions come first; then the source, when there is one.
  void Push(std::u16string action) { queued_.push_back(std::move(action)); }
  void SetSource(Source source) { source_ = std::move(source); }

  // The next action; nothing when none will come.
  std::optional<std::u16string> Next() {
    ++reads_;
    if (!queued_.empty()) {
      std::u16string action = std::move(queued_.front());
      queued_.pop_front();
      return action;
    }
    if (source_) return source_();
    return std::nullopt;
  }
  size_t pending() const { return queued_.size(); }
  int reads() const { return reads_; }

 private:
  std::deque<std::u16string> queued_;
  Source source_;
  int reads_ = 0;
};

}  // namespace vexhost

#endif  // HOST_DIALOG_INPUT_H
