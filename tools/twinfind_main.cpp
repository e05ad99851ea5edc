// twinfind: runs the Twinfind command inside our in-memory host.
#include <iostream>
#include <string>

#include "tools/cli_options.h"
#include "tools/console.h"
#include "tools/run_command.h"
#include "tools/settings_command.h"

using twinfind::tool::BadArguments;
using twinfind::tool::DemoCommand;
using twinfind::tool::kUsage;
using twinfind::tool::ParseOptions;
using twinfind::tool::RunCommand;
using twinfind::tool::UseSettingsFile;

int main(int argc, char** argv) {
  twinfind::tool::SetUpStandardStreams(argc, argv);
  if (argc < 2) return BadArguments("a sub-command is needed");
  const std::string command = argv[1];
  if (command == "--help" || command == "-h" || command == "help") {
    std::cout << kUsage;
    return 0;
  }
  std::string error;
  const auto options = ParseOptions(argc, argv, 2, error);
  if (!options) return BadArguments(error);
  if (command == "run") return RunCommand(*options);
  if (command == "demo") return DemoCommand(*options);
  if (command == "settings") {
    if (!UseSettingsFile(options->settings, error)) return BadArguments(error);
    return twinfind::tool::SettingsCommand(options->positional, std::cout, std::cerr);
  }
  return BadArguments("unknown sub-command " + command);
}
