// The tool's standard streams and arguments as the rest of the tool expects them: UTF-8 text,
// lines ending in a line feed alone. One file for each platform: console_posix.cpp (nothing to
// do), console_win32.cpp.
#ifndef TOOLS_CONSOLE_H
#define TOOLS_CONSOLE_H

namespace twinfind::tool {

// Called first in main. May replace argv with UTF-8 copies that live as long as the process.
void SetUpStandardStreams(int& argc, char**& argv);

// Whether standard error is a terminal (a console), where a line can be written over.
bool StandardErrorIsTerminal();

}  // namespace twinfind::tool

#endif  // TOOLS_CONSOLE_H
