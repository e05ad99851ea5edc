// "pick X Y": a part indicated by a single click at the part prompt, for the lines of a run and
// the view's click alike.
#include <ostream>
#include <sstream>
#include <string>

#include "host/host.h"
#include "host/step_kind.h"
#include "tools/drawing_summary.h"
#include "tools/script_runner.h"

namespace twinfind::tool {

bool ScriptRunner::PickPart(double x, double y, double reach, int lineNumber) {
  vexhost::Host& host = vexhost::TheHost();
  const vexhost::StepKind step = vexhost::StepKindOf(host.driver);
  if (step == vexhost::StepKind::kRange) {
    // A single click at the search range's prompt takes nothing, as in a CAD program.
    return Refuse(lineNumber,
                  "the search range is a window: drag it (range X1 Y1 X2 Y2); a click picks a "
                  "part at the part prompt");
  }
  if (step != vexhost::StepKind::kWindow) {
    return Refuse(lineNumber, step == vexhost::StepKind::kNone
                                  ? "no command is running (start runs it again)"
                                  : "this step does not take a part");
  }
  if (!(reach > 0)) return Refuse(lineNumber, "the reach of a pick is a number above 0");
  const auto part = picker_.At(host.drawing, DrawingDigest(host.drawing), x, y, reach);
  if (!part) {
    std::ostringstream why;
    why << "no figure within " << reach << " of " << x << " " << y
        << ", and no closed outline around it";
    return Refuse(lineNumber, why.str());
  }
  std::ostringstream said;
  said.precision(12);
  said << "picked: the part of " << part->segments.size()
       << (part->segments.size() == 1 ? " segment" : " segments") << " at " << x << " " << y
       << ", its window " << part->window.minX << " " << part->window.minY << " "
       << part->window.maxX << " " << part->window.maxY;
  out_ << said.str() << "\n";
  out_.flush();
  return DeliverRange(part->window, lineNumber);
}

}  // namespace twinfind::tool
