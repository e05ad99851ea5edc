// Our VexLib as the tools and tests see it: one process-wide host holding the open drawing,
// the id lists, the message transcript and the step driver. The plug-in reaches the same host
// only through vexlib/vexlib.h.
#ifndef HOST_HOST_H
#define HOST_HOST_H

#include "host/dialog_input.h"
#include "host/drawing.h"
#include "host/fault_switch.h"
#include "host/hole_ledger.h"
#include "host/id_lists.h"
#include "host/step_driver.h"
#include "host/transcript.h"
#include "host/undo_history.h"

namespace vexhost {

class Host {
 public:
  Host() : driver(drawing, lists) {}
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  Drawing drawing;
  IdLists lists;
  Transcript transcript;
  HoleLedger holes;
  DialogInput dialogInput;
  FaultSwitch faults;
  StepDriver driver;
  UndoHistory undo;
};

// The process-wide host.
Host& TheHost();

// Replaces the host with a new one: an empty drawing, no registered command, no messages.
void ResetHost();

}  // namespace vexhost

#endif  // HOST_HOST_H
