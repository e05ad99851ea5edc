// The command: its entry point, its state across steps, and the steps of its two prompt
// chains.
#ifndef PLUGIN_COMMAND_H
#define PLUGIN_COMMAND_H

#include <cstdint>
#include <string>

#include "vexlib/vexlib.h"

#if defined(_WIN32)
#define TWINFIND_EXPORT __declspec(dllexport)
#else
#define TWINFIND_EXPORT __attribute__((visibility("default")))
#endif

extern "C" TWINFIND_EXPORT int Startup(void* reserved);

namespace twinfind {

// Command state, module-level: it lives as long as the module.
extern int32_t arrangeRowCount;      // arrangement rows started in this command
extern VexPoint arrangeOrigin;       // base point of the last row placed
extern std::u16string materialText;  // the material typed last; kept across commands
extern std::u16string depthText;     // the depth typed last; emptied when a balloon command starts

// The registered callbacks.
int StartCommand();
int QueryCommand();
int EndCommand();

// The object record of the range steps.
inline constexpr VexObjectRecord kRangeObject{{626, 2527, 0, 0, 0}};

// General method.
int GeneralRangeStep(const char16_t* text, double x, double y);
int GeneralPartStep(const char16_t* text, double x, double y);
int GeneralConfirmStep(const char16_t* text, double x, double y);
int GeneralPlaceStep(const char16_t* text, double x, double y);

// Balloon method.
int BalloonRangeStep(const char16_t* text, double x, double y);
int MaterialStep(const char16_t* text, double x, double y);
int PartNumberStep(const char16_t* text, double x, double y);
int DepthStep(const char16_t* text, double x, double y);
int BalloonPartStep(const char16_t* text, double x, double y);

// Sets a range prompt: mask, cursor text, prompt, element filter and object record.
void PromptForRange(const char16_t* cursor, const char16_t* prompt);

// Fills targetTable from the user's selection. On a full table shows the overflow box, on an
// empty selection the error; false then, and the command ends.
bool CollectTargets(const char16_t* overflowBox, const char16_t* emptyError);

// Runs a callback body; a fault inside it is reported and ends the command instead of
// unwinding into the host.
template <typename Body>
int Guarded(Body&& body) noexcept;

}  // namespace twinfind

#include "plugin/guard.inl"

#endif  // PLUGIN_COMMAND_H
