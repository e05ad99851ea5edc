// The step driver: registration of a command, its start and end, and the delivery of the
// user's input to the current step's execute callback.
//
// A step's ready function sets the event mask, the prompt and the execute callback. When the
// user acts, the driver checks the action against the mask, erases the temporary drawing,
// and calls the execute callback; its result 2 runs the ready function named last, 3 keeps the
// step, anything else ends the command.
#ifndef HOST_STEP_DRIVER_H
#define HOST_STEP_DRIVER_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "vexlib/vexlib.h"

// The data of one event; the plug-in sees it only through the VexEvt calls.
struct VexEvent {
  int code = VEX_EVENT_INPUT;
  bool hasPoint = false;
  VexPoint point{};
  bool motion = false;
  std::u16string keyin;
};

namespace vexhost {

class Drawing;
class IdLists;

// The outcome of one user action.
struct Delivery {
  bool taken = false;
  std::string reason;  // why the action was refused, when it was
};

class StepDriver {
 public:
  StepDriver(Drawing& drawing, IdLists& lists) : drawing_(drawing), lists_(lists) {}

  // Registration. The result is the command's number (1), or the forced result of a test.
  int Register(VexCommandFunc start, VexCommandFunc query, VexCommandFunc end);
  void ForceRegistrationResult(std::optional<int> result) { forcedResult_ = result; }
  bool registered() const { return start_ != nullptr; }

  // What the plug-in sets.
  void SetExecute(VexExecuteFunc fn, std::u16string defaultInput);
  void SetReady(VexReadyFunc fn, std::u16string text);
  void SetMask(uint32_t mask) { mask_ = mask; }
  void SetCompare(VexElementFilter fn) { compare_ = fn; }
  void SetObject(const VexObjectRecord& object) { object_ = object; }
  void SetEcho(const VexEchoRecord& echo) { echo_ = echo; }

  // What the user does. Start fails when no command is registered or the running command
  // declines to give way.
  bool Start();
  Delivery Range(const VexBox& area);
  // Windows added to one selection, as a user adds windows with a held key: the segments each
  // takes, each once.
  Delivery Range(const std::vector<VexBox>& windows);
  // The segments a host's own selection took (picked one by one, say): of these, those a
  // window over the whole drawing would take (lasting, on a shown layer, accepted by the step's
  // filter), each once.
  Delivery Select(const std::vector<int>& segments);
  Delivery Point(VexPoint point);
  Delivery Motion(VexPoint point);
  // A typed text: a key-in at a step that takes key-ins; at a step that takes points, the
  // coordinates "x y" (or "x,y") of a click. An empty text stands for the default input.
  Delivery Keyin(std::u16string_view text);
  Delivery End();
  // The user leaves the command: it ends as if it had finished.
  void Abandon();

  // What the current step shows.
  bool active() const { return active_; }
  uint32_t mask() const { return mask_; }
  const std::u16string& defaultInput() const { return defaultInput_; }
  VexPoint pointer() const { return pointer_; }
  const std::optional<VexEchoRecord>& echo() const { return echo_; }
  const VexObjectRecord& object() const { return object_; }
  VexElementFilter compare() const { return compare_; }
  int endCallbacks() const { return endCallbacks_; }
  // How many times the running command has gone on to a next step since it started: 0 at the
  // step its start entered (the search range's, for Twinfind).
  int stepsTaken() const { return stepsTaken_; }

 private:
  Delivery Deliver(VexEvent& event);
  // The segments as the selection, and the range's event.
  Delivery DeliverSelection(const std::vector<int>& ids);
  void ResetStep();
  void Finish();

  Drawing& drawing_;
  IdLists& lists_;
  std::optional<int> forcedResult_;
  VexCommandFunc start_ = nullptr;
  VexCommandFunc query_ = nullptr;
  VexCommandFunc end_ = nullptr;

  bool active_ = false;
  VexExecuteFunc execute_ = nullptr;
  VexReadyFunc ready_ = nullptr;
  std::u16string readyText_;
  std::u16string defaultInput_;
  uint32_t mask_ = 0;
  int stepsTaken_ = 0;
  VexElementFilter compare_ = nullptr;
  VexObjectRecord object_{};
  std::optional<VexEchoRecord> echo_;
  VexPoint pointer_{0.0, 0.0};
  int endCallbacks_ = 0;
};

// The bit of the masks that takes points.
inline constexpr uint32_t kPointBit = 0x20000;

}  // namespace vexhost

#endif  // HOST_STEP_DRIVER_H
