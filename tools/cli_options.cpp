#include "tools/cli_options.h"

#include <iostream>

namespace twinfind::tool {

const char kUsage[] =
    "usage:\n"
    "  twinfind demo [--out DIR]\n"
    "      run the command on the bundled sample plate; write DIR/demo.dxf, demo.svg, demo.png\n"
    "  twinfind run [DRAWING.dxf] [--script FILE] [--out OUT.dxf] [--svg OUT.svg]\n"
    "               [--png OUT.png] [--svg-at-confirm OUT.svg] [--settings FILE]\n"
    "      run the command on a drawing (none: an empty one); without --script, read the\n"
    "      actions from the terminal: range X1 Y1 X2 Y2, point X Y, move X Y, key TEXT, end,\n"
    "      snapshot FILE.svg|.png, # comment; while a dialog is open: dialog click ID |\n"
    "      dblclick ID | text ID VALUE | select ID INDEX | key enter|space|escape|CODE | ok |\n"
    "      cancel | picture FILE.svg|.png\n"
    "  twinfind settings list|get NAME|set NAME VALUE [--settings FILE]\n"
    "      show or change the stored settings\n"
    "  twinfind --help\n"
    "\n"
    "The settings file is --settings FILE, else $TWINFIND_SETTINGS, else\n"
    "$XDG_CONFIG_HOME/twinfind/settings.reg (~/.config/twinfind/settings.reg).\n";

int BadArguments(const std::string& why) {
  std::cerr << "twinfind: " << why << "\n" << kUsage;
  return kBadArguments;
}

std::optional<Options> ParseOptions(int argc, char** argv, int first, std::string& error) {
  Options options;
  const std::pair<const char*, std::optional<std::string> Options::*> valued[] = {
      {"--script", &Options::script}, {"--settings", &Options::settings},
      {"--out", &Options::out},       {"--svg", &Options::svg},
      {"--png", &Options::png},       {"--svg-at-confirm", &Options::svgAtConfirm}};
  for (int i = first; i < argc; ++i) {
    const std::string arg = argv[i];
    bool known = false;
    for (const auto& [name, field] : valued) {
      if (arg != name) continue;
      if (i + 1 >= argc) {
        error = arg + " needs a value";
        return std::nullopt;
      }
      options.*field = argv[++i];
      known = true;
    }
    if (known) continue;
    if (arg.rfind("--", 0) == 0) {
      error = "unknown option " + arg;
      return std::nullopt;
    }
    options.positional.push_back(arg);
  }
  return options;
}

}  // namespace twinfind::tool
