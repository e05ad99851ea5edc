// The module's entry point and the callbacks it registers with the host.
#ifndef PLUGIN_ENTRY_H
#define PLUGIN_ENTRY_H

#if defined(_WIN32)
#define TWINFIND_EXPORT __declspec(dllexport)
#else
#define TWINFIND_EXPORT __attribute__((visibility("default")))
#endif

#include "vexlib/found_parts_export.h"

// Registers the command with the host; 0 when the host took it, -1 otherwise.
extern "C" TWINFIND_EXPORT int Startup(void* reserved);

// The command's last search, for a host of the project's own (vexlib/found_parts_export.h).
extern "C" TWINFIND_EXPORT const TwfFoundParts* TwinfindFoundParts(void);

namespace twinfind {

// Loads the settings and enters the first step of the method they choose.
int StartCommand();
// Another command wants to start while this one runs: 0, this one does not insist.
int QueryCommand();
// The command has ended: nothing to do, the next start resets what needs resetting.
int EndCommand();

}  // namespace twinfind

#endif  // PLUGIN_ENTRY_H
