// The host's message lines, kept in order as a transcript.
#ifndef HOST_TRANSCRIPT_H
#define HOST_TRANSCRIPT_H

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

class Transcript {
 public:
  void Add(MessageKind kind, std::u16string text) {
    messages_.push_back({kind, std::move(text)});
    if (sink_) sink_(messages_.back());
  }
  const std::vector<Message>& messages() const { return messages_; }
  void Clear() { messages_.clear(); }
  // Called with every new message as it arrives (the tool prints them).
  void SetSink(std::function<void(const Message&)> sink) { sink_ = std::move(sink); }

 private:
  std::vector<Message> messages_;
  std::function<void(const Message&)> sink_;
};

}  // namespace vexhost

#endif  // HOST_TRANSCRIPT_H
