// twinfind: runs the Twinfind command inside our in-memory host.
#include <iostream>
#include <string>
#include <vector>

#include "tools/cli_options.h"
#include "tools/console.h"
#include "tools/run_command.h"
#include "tools/settings_command.h"
#include "tools/survey/survey_command.h"
#include "tools/view/view_command.h"

using twinfind::tool::BadArguments;
using twinfind::tool::Options;
using twinfind::tool::ParseCommandLine;
using twinfind::tool::UseSettingsFile;

int main(int argc, char** argv) {
  twinfind::tool::SetUpStandardStreams(argc, argv);
  // "twinfind help" is "twinfind --help".
  std::vector<char*> args(argv, argv + argc);
  std::string help = "--help";
  if (argc == 2 && std::string(argv[1]) == "help") args[1] = help.data();
  Options options;
  if (const auto status = ParseCommandLine(argc, args.data(), options)) return *status;
  if (options.command == "run") return twinfind::tool::RunCommand(options);
  if (options.command == "demo") return twinfind::tool::DemoCommand(options);
  if (options.command == "survey") return twinfind::tool::SurveyCommand(options);
  if (options.command == "view") return twinfind::tool::ViewCommand(options);
  std::string error;
  if (!UseSettingsFile(options.settings, error)) return BadArguments(error, "settings");
  return twinfind::tool::SettingsCommand(options.positional, std::cout, std::cerr);
}
