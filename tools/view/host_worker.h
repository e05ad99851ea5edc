// The thread that owns the host. The host and the command are single-threaded, as a CAD
// program's user-interface thread is, while the page's requests arrive on the HTTP server's
// threads: every request that reads or changes the drawing or the command is handed to this
// thread as a job and runs here, one at a time, in the order the requests came.
//
// A modal dialog runs inside the job that opened it (the end button at the first prompt): while
// it waits for its next action, the worker answers the job that opened it (or the last dialog
// action), takes reads as usual, refuses command actions, and hands dialog actions to the dialog.
#ifndef TOOLS_VIEW_HOST_WORKER_H
#define TOOLS_VIEW_HOST_WORKER_H

#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <variant>

namespace twinfind::tool::view {

class HostWorker {
 public:
  enum class Kind {
    kRead,     // looks at the host (the state, a picture, the report); runs even while a dialog
               // is open
    kCommand,  // acts on the command or the drawing; refused while a dialog is open
    kDialog,   // an action on the open dialog
  };
  // What a dialog job offers the open dialog: the action to hand it, or a reply that refuses.
  using Offer = std::variant<std::u16string, std::string>;

  struct Replies {
    std::function<std::string()> state;     // the page's state, after an action
    std::function<std::string()> busy;      // a command action while a dialog is open
    std::function<std::string()> noDialog;  // a dialog action while none is open
  };

  explicit HostWorker(Replies replies);
  ~HostWorker();
  HostWorker(const HostWorker&) = delete;
  HostWorker& operator=(const HostWorker&) = delete;

  // Starts the thread. Everything the host is given before this happens before the jobs.
  void Start();

  // Runs a job on the worker and waits for its reply. `run` gives the reply of a read or a
  // command; `offer` is a dialog job's. After Stop every call answers `stopped` at once.
  std::string Run(Kind kind, std::function<std::string()> run,
                  std::function<Offer()> offer = nullptr);

  // The next action for the open dialog, called by the dialog (through the host) on the worker
  // thread; nothing once the worker stops, so that the dialog closes as cancelled.
  std::optional<std::u16string> NextDialogAction();

  // Ends the thread after the job it is on; waiting dialogs close as cancelled. Jobs still
  // queued are answered `stopped`.
  void Stop();

  static constexpr const char* kStopped = R"({"ok":false,"error":"the view has stopped"})";

 private:
  struct Job {
    Kind kind = Kind::kRead;
    std::function<std::string()> run;
    std::function<Offer()> offer;
    std::promise<std::string> reply;
    bool answered = false;
  };

  std::shared_ptr<Job> Pop();  // nothing when stopping
  void Loop();
  void Answer(const std::shared_ptr<Job>& job, std::string body);

  Replies replies_;
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<std::shared_ptr<Job>> queue_;
  bool stopping_ = false;
  std::shared_ptr<Job> pending_;  // the job whose reply waits for the command to act on it
  std::thread thread_;
};

}  // namespace twinfind::tool::view

#endif  // TOOLS_VIEW_HOST_WORKER_H
