// What the view's server answers: the page's own files and its requests to the command, and
// nothing else. Every request passes the checks of view_security.h first. One page drives the
// command: the first page that asks holds it, and another page is told so, until the holder
// has been silent for a while (closed without Quit) and the new page takes over.
#ifndef TOOLS_VIEW_VIEW_ROUTES_H
#define TOOLS_VIEW_VIEW_ROUTES_H

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>

#include "tools/view/host_worker.h"
#include "tools/view/http_server.h"
#include "tools/view/view_session.h"

namespace twinfind::tool::view {

class ViewRoutes {
 public:
  using Clock = std::chrono::steady_clock;
  // A page silent for this long no longer holds the command.
  static constexpr std::chrono::seconds kPageSilence{90};

  ViewRoutes(std::string token, int port, HostWorker& worker, ViewSession& session,
             std::function<void()> quit);

  // The check of a request's head, before its body is read: nothing when it may go on, else
  // the refusal.
  std::optional<HttpAnswer> CheckHead(const HttpRequest& head) const;
  // Every request that passed the head check.
  HttpAnswer Handle(const HttpRequest& request);
  // The answer to a refused request: the status, a short JSON message, the headers every answer
  // carries. Never the text of an internal error.
  static HttpAnswer Refusal(int status, const std::string& reason);

  // The deepest nesting of arrays and objects an action's JSON may have.
  static constexpr int kDeepestJson = 32;

  // When the last request that passed the checks came.
  Clock::time_point lastRequest() const { return Clock::time_point(Clock::duration(last_.load())); }

 private:
  HttpAnswer Api(const std::string& route, const HttpRequest& request);
  // Whether the page may drive the command; else the answer that tells it why not.
  std::optional<HttpAnswer> HoldPage(const HttpRequest& request);

  std::string token_;
  int port_;
  HostWorker& worker_;
  ViewSession& session_;
  std::function<void()> quit_;
  std::atomic<Clock::rep> last_;
  std::mutex pageMutex_;
  std::string page_;  // the page that holds the command
  Clock::time_point pageHeard_{};
};

}  // namespace twinfind::tool::view

#endif  // TOOLS_VIEW_VIEW_ROUTES_H
