#include <windows.h>

#include <csignal>
#include <cstdio>

#include "tools/stop_signals.h"

namespace twinfind::tool {
namespace {

volatile LONG stopSignal = 0;

// The console's events as the signals they stand for: Ctrl-C is SIGINT, Ctrl-Break and the
// system's end of the session SIGTERM, the console window closed SIGHUP's number (1).
int SignalOf(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
      return SIGINT;
    case CTRL_CLOSE_EVENT:
      return 1;
    default:
      return SIGTERM;
  }
}

BOOL WINAPI OnConsoleEvent(DWORD event) {
  const int signal = SignalOf(event);
  if (InterlockedCompareExchange(&stopSignal, signal, 0) == 0) {
    std::fputs(signal == SIGINT ? "^C\ntwinfind: interrupted: the run ends after this step, its "
                                  "outputs written\n"
                                : "twinfind: terminated: the run ends after this step, its "
                                  "outputs written\n",
               stderr);
  } else {
    std::fputs("\ntwinfind: already ending\n", stderr);
  }
  return TRUE;  // handled: the process is not ended at once
}

}  // namespace

void CatchStopSignals() { SetConsoleCtrlHandler(OnConsoleEvent, TRUE); }

// The console's events come on a thread of their own and break off no write: nothing to hold.
HeldStopSignals::HeldStopSignals() = default;

HeldStopSignals::~HeldStopSignals() = default;

int CaughtStopSignal() { return static_cast<int>(stopSignal); }

void NoteStopSignal(int signal) { InterlockedCompareExchange(&stopSignal, signal, 0); }

const char* StopSignalText(int signal) {
  switch (signal) {
    case SIGINT:
      return "interrupted";
    case 1:
      return "the console was closed";
    default:
      return "terminated";
  }
}

int StopSignalStatus(int signal) { return 128 + signal; }

}  // namespace twinfind::tool
