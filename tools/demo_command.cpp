// twinfind demo: the bundled plate, first through the general method (brackets and flanges
// found and laid out in rows), then through the balloon method (the flanges labelled).
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "common/utf.h"
#include "settings/settings.h"
#include "tools/demo_settings.h"
#include "tools/run_command.h"

namespace twinfind::tool {
namespace fs = std::filesystem;

namespace {

fs::path SamplesFolder() {
  if (const char* folder = std::getenv("TWINFIND_SAMPLES"); folder != nullptr && *folder != '\0') {
    return folder;
  }
  return TWINFIND_SAMPLES_DIR;
}

void Store(std::u16string_view name, std::u16string_view value) {
  WriteSetting(kSettingsSubkey, name, value);
}

bool RunSampleScript(Session& session, const fs::path& script) {
  std::ifstream in(script);
  if (!in) {
    std::cerr << "twinfind: cannot read the demo script " << script.string() << '\n';
    return false;
  }
  RunScript(session, in);
  return true;
}

}  // namespace

int DemoCommand(const Options& options) {
  if (!options.positional.empty()) return BadArguments("demo takes no drawing", "demo");
  const fs::path folder = options.out.value_or(".");
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (!fs::is_directory(folder, ec)) {
    return BadArguments("cannot make the output folder " + folder.string(), "demo");
  }
  const fs::path samples = SamplesFolder();
  Session session;
  session.drawing = (samples / "demo-plate.dxf").generic_string();
  session.out = (folder / "demo.dxf").generic_string();
  session.svg = (folder / "demo.svg").generic_string();
  session.grid = !options.noGrid;

  // The demo's own settings, so that the user's are neither used nor changed.
  DemoSettings settings;
  std::string error;
  if (!settings.Open(folder, error)) return BadArguments(error, "demo");
  Store(u"mMethod", u"0");
  Store(u"mIsSymmetry", u"1");  // the mirrored bracket counts
  Store(u"mIsLayer", u"1");     // the flange on the spare layer does not

  if (!CheckOutputs(session, error)) return BadArguments(error, "demo");
  if (!OpenSession(session)) return kBadArguments;
  if (!RunSampleScript(session, samples / "demo-general.script")) return kBadArguments;
  Store(u"mMethod", u"1");
  Store(u"mBalloonSize", u"16");  // big enough to read at the plate's scale
  Store(u"mBalloonLeaderSize", u"6");
  if (!RunSampleScript(session, samples / "demo-balloon.script")) return kBadArguments;

  bool ok = WriteOutputs(session);
  const std::string png = (folder / "demo.png").generic_string();
  if (!session.File().Claim(png, "the demo's PNG", error) ||
      !WritePicture(png, session.grid, error)) {
    std::cerr << "twinfind: no PNG picture: " << error << '\n';
  } else {
    std::cout << "demo: wrote " << png << '\n';
  }
  if (ok) std::cout << "demo: wrote " << *session.out << '\n';
  return ok ? 0 : 1;
}

}  // namespace twinfind::tool
