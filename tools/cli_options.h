// The command line of twinfind: sub-command, options and the words after them.
#ifndef TOOLS_CLI_OPTIONS_H
#define TOOLS_CLI_OPTIONS_H

#include <optional>
#include <string>
#include <vector>

namespace twinfind::tool {

inline constexpr int kBadArguments = 2;

struct Options {
  std::vector<std::string> positional;
  std::optional<std::string> script;
  std::optional<std::string> settings;
  std::optional<std::string> out;
  std::optional<std::string> svg;
  std::optional<std::string> png;
  std::optional<std::string> svgAtConfirm;
};

// The options after the sub-command; nothing, and a reason, for an unknown option or a
// missing value.
std::optional<Options> ParseOptions(int argc, char** argv, int first, std::string& error);

extern const char kUsage[];

// Prints the reason and the usage on standard error; the bad-arguments exit status.
int BadArguments(const std::string& why);

// Points the plug-in's settings at the file the user named (its folder must exist). Defined
// with the platform's settings location: settings_location_posix.cpp, settings_location_win32.cpp
// (where the settings live in the registry and a file is refused).
bool UseSettingsFile(const std::optional<std::string>& path, std::string& error);

}  // namespace twinfind::tool

#endif  // TOOLS_CLI_OPTIONS_H
