// twinfind: runs the Twinfind command inside our in-memory host.
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "host/host.h"
#include "tools/plugin_loader.h"
#include "tools/script_runner.h"
#include "tools/settings_command.h"

namespace {

constexpr int kBadArguments = 2;

constexpr char kUsage[] =
    "usage:\n"
    "  twinfind run [--script FILE] [--settings FILE]\n"
    "      run the command on an empty drawing; without --script, read the actions from the\n"
    "      terminal (range X1 Y1 X2 Y2, point X Y, move X Y, key TEXT, end, # comment);\n"
    "      while a dialog is open: dialog click ID | dblclick ID | text ID VALUE |\n"
    "      select ID INDEX | key enter|space|escape|CODE | ok | cancel | picture FILE.svg|.png\n"
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

struct Options {
  std::vector<std::string> positional;
  std::optional<std::string> script;
  std::optional<std::string> settings;
};

// Splits the arguments after the sub-command into options and positional words.
std::optional<Options> ParseOptions(int argc, char** argv, int first, std::string& error) {
  Options options;
  for (int i = first; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&](std::optional<std::string>& into) {
      if (i + 1 >= argc) {
        error = arg + " needs a value";
        return false;
      }
      into = argv[++i];
      return true;
    };
    if (arg == "--script") {
      if (!value(options.script)) return std::nullopt;
    } else if (arg == "--settings") {
      if (!value(options.settings)) return std::nullopt;
    } else if (arg.rfind("--", 0) == 0) {
      error = "unknown option " + arg;
      return std::nullopt;
    } else {
      options.positional.push_back(arg);
    }
  }
  return options;
}

// Points the plug-in's settings at the file the user named. Its folder must exist.
bool UseSettingsFile(const std::optional<std::string>& path, std::string& error) {
  if (!path) return true;
  const std::filesystem::path file(*path);
  const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
  std::error_code ec;
  if (!std::filesystem::is_directory(folder, ec)) {
    error = "the folder of the settings file " + *path + " does not exist";
    return false;
  }
  setenv("TWINFIND_SETTINGS", path->c_str(), 1);
  return true;
}

int Run(const Options& options) {
  if (!options.positional.empty()) {
    return BadArguments("run takes no drawing yet: unexpected " + options.positional.front());
  }
  std::string error;
  if (!UseSettingsFile(options.settings, error)) return BadArguments(error);
  std::ifstream scriptFile;
  if (options.script) {
    scriptFile.open(*options.script);
    if (!scriptFile) return BadArguments("cannot read the script " + *options.script);
  }
  const auto plugin = twinfind::tool::LoadPlugin(twinfind::tool::DefaultPluginPath());
  if (!plugin.ok) {
    std::cerr << "twinfind: " << plugin.error << '\n';
    return kBadArguments;
  }
  twinfind::tool::ScriptRunner runner(std::cout, std::cerr);
  vexhost::TheHost().driver.Start();
  runner.RunAll(options.script ? scriptFile : std::cin);
  runner.Finish();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return BadArguments("a sub-command is needed");
  const std::string command = argv[1];
  if (command == "--help" || command == "-h" || command == "help") {
    std::cout << kUsage;
    return 0;
  }
  std::string error;
  const auto options = ParseOptions(argc, argv, 2, error);
  if (!options) return BadArguments(error);
  if (command == "run") return Run(*options);
  if (command == "settings") {
    if (!UseSettingsFile(options->settings, error)) return BadArguments(error);
    return twinfind::tool::SettingsCommand(options->positional, std::cout, std::cerr);
  }
  return BadArguments("unknown sub-command " + command);
}
