#include "host/host.h"

#include <memory>

namespace vexhost {
namespace {
std::unique_ptr<Host>& Instance() {
  static std::unique_ptr<Host> host = std::make_unique<Host>();
  return host;
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
