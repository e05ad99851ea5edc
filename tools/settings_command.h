// twinfind settings list | get NAME | set NAME VALUE
#ifndef TOOLS_SETTINGS_COMMAND_H
#define TOOLS_SETTINGS_COMMAND_H

#include <iosfwd>
#include <string>
#include <vector>

namespace twinfind::tool {

// Runs the settings sub-command on the active settings store; the exit status.
int SettingsCommand(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);

}  // namespace twinfind::tool

#endif  // TOOLS_SETTINGS_COMMAND_H
