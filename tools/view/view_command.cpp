// twinfind view: opens the drawing, starts the command on the host worker, serves the page on
// 127.0.0.1 and prints its address, then waits until the page quits, the page has been silent
// for the idle time, or the user presses Ctrl-C.
#include "tools/view/view_command.h"

#include <signal.h>

#include <chrono>
#include <condition_variable>
#include <iostream>
#include <mutex>
#include <thread>

#include "host/host.h"
#include "tools/run_command.h"
#include "tools/stop_signals.h"
#include "tools/view/host_worker.h"
#include "tools/view/http_server.h"
#include "tools/view/view_routes.h"
#include "tools/view/view_security.h"
#include "tools/view/view_session.h"

namespace twinfind::tool {
namespace {

constexpr int kDefaultIdleSeconds = 900;

// Why the view stops; the first reason given wins.
class StopSignal {
 public:
  void Raise(const std::string& why) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (why_.empty()) why_ = why;
    }
    raised_.notify_all();
  }
  // Waits for a reason, looking at `check` every tenth of a second.
  std::string Wait(const std::function<void()>& check) {
    std::unique_lock<std::mutex> lock(mutex_);
    while (why_.empty()) {
      raised_.wait_for(lock, std::chrono::milliseconds(100));
      lock.unlock();
      check();
      lock.lock();
    }
    return why_;
  }
  bool raised() {
    std::lock_guard<std::mutex> lock(mutex_);
    return !why_.empty();
  }

 private:
  std::mutex mutex_;
  std::condition_variable raised_;
  std::string why_;
};

}  // namespace

int ViewCommand(const Options& options) {
  if (options.positional.size() > 1) {
    return BadArguments("view takes one drawing: unexpected " + options.positional[1], "view");
  }
  Session session;
  if (!options.positional.empty()) session.drawing = options.positional[0];
  session.out = options.out;
  std::string error;
  if (!SetMemoryLimit(options, session, error) || !UseSettingsFile(options.settings, error) ||
      !CheckOutputs(session, error)) {
    return BadArguments(error, "view");
  }
  // Ctrl-C and a polite kill are taken by a thread of ours, not by a handler that interrupts
  // whatever runs: every thread started from here on keeps them blocked.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGHUP);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  if (!OpenSession(session)) return kBadArguments;
  view::ViewSession model(session);
  view::HostWorker worker({[&model] { return model.State(nlohmann::json::object()); },
                           [&model] {
                             return model.State(nlohmann::json::object(),
                                                "a dialog is open: close it first (OK or "
                                                "Cancel)");
                           },
                           [&model] { return model.Refusal("no dialog is open"); }});
  vexhost::TheHost().dialogInput.SetSource([&worker] { return worker.NextDialogAction(); });

  StopSignal stop;
  const std::string token = view::NewToken();
  int port = -1;
  std::unique_ptr<view::ViewRoutes> routes;
  view::HttpLimits limits;
  limits.maxBody = 1 << 20;
  auto server = view::MakeHttpServer(
      [&routes](const view::HttpRequest& head) { return routes->CheckHead(head); },
      [&routes](const view::HttpRequest& request) { return routes->Handle(request); },
      &view::ViewRoutes::Refusal, limits);
  port = server->Bind("127.0.0.1", options.port.value_or(0), error);
  if (port < 0) {
    std::cerr << "twinfind: " << error << '\n';
    model.Finish();
    return kOutputFailed;
  }
  routes = std::make_unique<view::ViewRoutes>(token, port, worker, model,
                                              [&stop] { stop.Raise("quit in the page"); });
  // Whatever ends the view ends a survey under way at its next step, so that the host's worker
  // is free at once.
  worker.Start();
  std::thread serving([&server] { server->Serve(); });
  int caught = 0;  // the signal that stopped the view
  std::thread signals([&stop, &stopSignals, &caught] {
    const timespec tenth{0, 100'000'000};
    while (!stop.raised()) {
      const int signal = sigtimedwait(&stopSignals, nullptr, &tenth);
      if (signal > 0) {
        caught = signal;
        stop.Raise(StopSignalText(signal));
      }
    }
  });

  const int idleSeconds = options.idleSeconds.value_or(kDefaultIdleSeconds);
  std::cout << "view: open http://127.0.0.1:" << port << "/" << token
            << "/ in a browser on this computer\n"
            << "view: it stops with Quit in the page, Ctrl-C here, or after " << idleSeconds
            << " seconds without the page" << std::endl;
  // The drawing's picture is drawn while the browser loads the page, which asks for it next.
  std::thread warmUp([&worker, &model] {
    worker.Run(view::HostWorker::Kind::kRead, [&model] {
      model.LastingSvg();
      return std::string();
    });
  });
  const std::string why = stop.Wait([&] {
    if (std::chrono::steady_clock::now() - routes->lastRequest() >
        std::chrono::seconds(idleSeconds)) {
      stop.Raise("idle for " + std::to_string(idleSeconds) + " seconds");
    }
  });
  model.CancelSurvey();
  server->Stop();
  serving.join();
  warmUp.join();
  signals.join();
  worker.Stop();
  vexhost::TheHost().dialogInput.SetSource(nullptr);
  const bool unsaved = model.unsaved();
  model.Finish();
  session.searches->Finish();
  std::cout << "view: stopped: " << why << std::endl;
  // Stopped from outside with changes unsaved: they are kept beside the drawing.
  if (unsaved && caught != 0)
    return RescueDrawing(session, caught) ? StopSignalStatus(caught) : kOutputFailed;
  if (unsaved) {
    std::cerr << "twinfind: the drawing was changed and the changes were not saved; Save in the "
                 "page writes them\n";
  }
  return caught != 0 ? StopSignalStatus(caught) : 0;
}

}  // namespace twinfind::tool
