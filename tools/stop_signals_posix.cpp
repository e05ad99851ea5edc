#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <cstring>
#include <initializer_list>

#include "tools/stop_signals.h"

namespace twinfind::tool {
namespace {

volatile sig_atomic_t stopSignal = 0;

void Say(const char* text) {
  const ssize_t written = write(STDERR_FILENO, text, std::strlen(text));
  (void)written;
}

void OnStopSignal(int signal) {
  const bool first = stopSignal == 0;
  stopSignal = signal;
  if (!first) {
    Say("\ntwinfind: already ending\n");
  } else if (signal == SIGINT) {
    Say("^C\ntwinfind: interrupted: the run ends after its current step\n");
  } else if (signal == SIGTERM) {
    Say("twinfind: terminated: the run ends after its current step\n");
  }
  // SIGHUP: the terminal is gone and nobody reads what would be said there.
}

}  // namespace

void CatchStopSignals() {
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  // No restart: a read of the script or the terminal that waits is broken off, and the run
  // sees the stop at once rather than at the next line typed.
  action.sa_flags = 0;
  for (const int signal : {SIGINT, SIGHUP, SIGTERM}) sigaction(signal, &action, nullptr);
}

namespace {

void MaskStopSignals(int how) {
  sigset_t stops;
  sigemptyset(&stops);
  for (const int signal : {SIGINT, SIGHUP, SIGTERM}) sigaddset(&stops, signal);
  pthread_sigmask(how, &stops, nullptr);
}

}  // namespace

HeldStopSignals::HeldStopSignals() { MaskStopSignals(SIG_BLOCK); }

HeldStopSignals::~HeldStopSignals() { MaskStopSignals(SIG_UNBLOCK); }

int CaughtStopSignal() { return stopSignal; }

void NoteStopSignal(int signal) {
  if (stopSignal == 0) stopSignal = signal;
}

const char* StopSignalText(int signal) {
  switch (signal) {
    case SIGINT:
      return "interrupted";
    case SIGHUP:
      return "the terminal was closed";
    default:
      return "terminated";
  }
}

int StopSignalStatus(int signal) { return 128 + signal; }

}  // namespace twinfind::tool
