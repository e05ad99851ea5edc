#include "host/host.h"

#include <memory>

namespace vexhost {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kFreeAtExit = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kFreeAtExit = true;
#else
constexpr bool kFreeAtExit = false;
#endif
#else
constexpr bool kFreeAtExit = false;
#endif

// The process's host. At exit its drawing is left to the operating system, which takes the
// memory back at once, instead of being freed piece by piece; a sanitizer build frees it, so
// that leaks stay visible.
struct HostHolder {
  std::unique_ptr<Host> host = std::make_unique<Host>();
  ~HostHolder() {
    if (!kFreeAtExit) static_cast<void>(host.release());
  }
};

std::unique_ptr<Host>& Instance() {
  static HostHolder holder;
  return holder.host;
}

}  // namespace

Host& TheHost() { return *Instance(); }

void ResetHost() { Instance() = std::make_unique<Host>(); }

std::string_view MessageKindName(MessageKind kind) {
  switch (kind) {
    case MessageKind::kPrompt:
      return "prompt";
    case MessageKind::kCursor:
      return "cursor";
    case MessageKind::kInfo:
      return "info";
    case MessageKind::kError:
      return "error";
    case MessageKind::kBox:
      return "box";
    case MessageKind::kDialog:
      return "dialog";
  }
  return "message";
}

}  // namespace vexhost
