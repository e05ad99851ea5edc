// Ctrl-C, a closed terminal (SIGHUP) and a polite kill (SIGTERM) end a run of the tool or a
// survey at its next step, never in the middle of one: a line being carried out is finished,
// and then the outputs are written whole, however many more signals come meanwhile. Without
// this a third Ctrl-C or the closing of the terminal killed the run while it wrote its outputs
// and lost everything done in it. One file for each platform: stop_signals_posix.cpp,
// stop_signals_win32.cpp (the console's Ctrl-C, Ctrl-Break and close events).
#ifndef TOOLS_STOP_SIGNALS_H
#define TOOLS_STOP_SIGNALS_H

namespace twinfind::tool {

// From now on to the process's end the stop signals are caught: each sets the stop, and the
// first says on standard error that the run ends after its step.
void CatchStopSignals();

// The signal that asked the run to stop (SIGINT, SIGHUP, SIGTERM), 0 while none did.
int CaughtStopSignal();

// Records a stop asked for otherwise (Ctrl-C taken by the line editor). Safe in a signal
// handler.
void NoteStopSignal(int signal);

// While one lives (one at a time), the stop signals wait and come when it ends: the outputs are
// written with no signal breaking off a write to the terminal (a line of what was written lost).
class HeldStopSignals {
 public:
  HeldStopSignals();
  ~HeldStopSignals();
  HeldStopSignals(const HeldStopSignals&) = delete;
  HeldStopSignals& operator=(const HeldStopSignals&) = delete;
};

// "interrupted", "the terminal was closed", "terminated".
const char* StopSignalText(int signal);

// The exit status of a run a signal ended, as shells give it: 128 and the signal's number.
int StopSignalStatus(int signal);

}  // namespace twinfind::tool

#endif  // TOOLS_STOP_SIGNALS_H
