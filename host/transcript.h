// The host's message lines, kept in order as a transcript.
#ifndef HOST_TRANSCRIPT_H
#define HOST_TRANSCRIPT_H

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vexhost {

enum class MessageKind { kPrompt, kCursor, kInfo, kError, kBox, kDialog };

// "prompt", "cursor", "info", "error", "box" or "dialog".
std::string_view MessageKindName(MessageKind kind);

struct Message {
  MessageKind kind;
  std::u16string text;
};

// The latest lines are kept (a command line's history, not the whole session's: a long run
// would otherwise grow by every prompt), and every line is counted by kind.
class Transcript {
 public:
  // Lines kept at least; once twice as many are held, the older half goes.
  static constexpr size_t kKept = 1000;

  void Add(MessageKind kind, std::u16string text) {
    if (messages_.size() >= 2 * kKept) {
      messages_.erase(messages_.begin(), messages_.end() - static_cast<long>(kKept));
    }
    ++counts_[static_cast<size_t>(kind)];
    messages_.push_back({kind, std::move(text)});
    if (sink_) sink_(messages_.back());
  }
  const std::vector<Message>& messages() const { return messages_; }
  // Lines of a kind added since the host started, kept or not.
  size_t count(MessageKind kind) const { return counts_[static_cast<size_t>(kind)]; }
  void Clear() { messages_.clear(); }
  // Called with every new message as it arrives (the tool prints them).
  void SetSink(std::function<void(const Message&)> sink) { sink_ = std::move(sink); }

 private:
  std::vector<Message> messages_;
  std::array<size_t, 6> counts_{};
  std::function<void(const Message&)> sink_;
};

}  // namespace vexhost

#endif  // HOST_TRANSCRIPT_H
