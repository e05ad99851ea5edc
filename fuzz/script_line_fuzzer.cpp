// libFuzzer target: any bytes given as the lines of a script (or typed at the terminal) to a
// run of the command on a small drawing of twins, settings in memory. Besides not crashing or
// hanging, the run must leave the host in order whatever the lines were: no temporary segment
// left, no id list left open, every hole record freed; and what the tool says about refused
// lines on standard error must be printable and short, however long or binary the line was.
// Nothing is written to disk: pictures are refused.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "testkit/twin_drawing.h"
#include "host/host.h"
#include "plugin/entry.h"
#include "settings/settings_store.h"
#include "settings/store_memory.h"
#include "tools/script_runner.h"

namespace {

using drawgen::Placement;
using drawgen::TwinDrawing;

// Longer than any complaint the tool makes: its own words and an 80-character quote, escaped.
constexpr size_t kLongestComplaint = 600;

void Check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "script_line_fuzzer: %s\n", what);
  std::abort();
}

// Four twins (one turned, one mirrored) and a near twin, as small as a search can be.
void MakeDrawing() {
  TwinDrawing drawing(11, 4);
  const double s = drawing.spacing();
  drawing.Place({});
  drawing.Place({s, 0, 90, false});
  drawing.Place({2 * s, 0, 0, true});
  drawing.Place({0, s, 0, false}, drawgen::Variant::kNearTwin);
  if (std::getenv("TWINFIND_FUZZ_ECHO") != nullptr) {
    std::fprintf(stderr, "the part: 0 0 %g %g; twins %g apart\n", drawing.width(), drawing.height(),
                 s);
  }
}

void CheckComplaints(const std::string& err) {
  size_t lineLength = 0;
  for (const char c : err) {
    if (c == '\n') {
      lineLength = 0;
      continue;
    }
    Check(static_cast<unsigned char>(c) >= 0x20 && c != 0x7f,
          "a complaint carries a control character");
    Check(++lineLength <= kLongestComplaint, "a complaint is longer than a quote allows");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static twinfind::MemorySettingsStore* const store = [] {
    auto* memory = new twinfind::MemorySettingsStore;
    twinfind::InstallSettingsStore(memory);
    return memory;
  }();
  *store = twinfind::MemorySettingsStore{};  // every input starts from the defaults
  vexhost::ResetHost();
  MakeDrawing();
  Startup(nullptr);

  std::ostringstream out, err;
  {
    twinfind::tool::ScriptRunner runner(out, err);
    runner.SetClaim([](const std::string&, const std::string&, std::string& error) {
      error = "pictures are not written in this run";
      return false;
    });
    vexhost::TheHost().driver.Start();
    std::istringstream script(std::string(reinterpret_cast<const char*>(data), size));
    runner.RunAll(script);
    runner.Finish();
  }

  vexhost::Host& host = vexhost::TheHost();
  for (const int id : host.drawing.SegmentIds()) {
    Check(host.drawing.FindSegment(id)->life != VEX_LIFE_TEMPORARY,
          "a temporary segment is left in the drawing");
  }
  Check(!host.lists.SelectionOpen(), "the selection is left open");
  for (int list = 0; list <= 9; ++list) Check(!host.lists.IsOpen(list), "an id list is left open");
  Check(host.holes.outstanding() == 0, "a hole record was not freed");
  // TWINFIND_FUZZ_ECHO=1 shows the run, for looking at what an input does.
  if (std::getenv("TWINFIND_FUZZ_ECHO") != nullptr) {
    std::fprintf(stderr, "%s%s", out.str().c_str(), err.str().c_str());
  }
  CheckComplaints(err.str());
  return 0;
}
