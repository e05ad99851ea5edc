// The one rule for the names of the files the project opens or writes: no NUL, which a system
// call takes for the name's end (save("victim.txt\0.dxf") would replace victim.txt), and no other
// control character (a line break or an escape makes the name another thing in a terminal, a
// log or a script). Checked before anything is read or written.
#ifndef COMMON_PATH_NAME_H
#define COMMON_PATH_NAME_H

#include <string>
#include <string_view>

namespace twinfind {

// False with the reason (the name shown with its control characters spelled out) when the name
// breaks the rule.
bool PathNameAllowed(std::string_view path, std::string& error);

}  // namespace twinfind

#endif  // COMMON_PATH_NAME_H
