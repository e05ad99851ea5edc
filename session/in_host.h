// A session's drawing in the host for the length of one call (drawing_session.h).
#ifndef SESSION_IN_HOST_H
#define SESSION_IN_HOST_H

#include <mutex>
#include <string>
#include <vector>

#include "session/drawing_session.h"

namespace twinfind::session {

// Held by every call that reads or changes the drawing of a session that does not stay in the
// host: the host and the engine's tables serve one call at a time, and a drawing swapped into the
// host is not where its session keeps it.
std::mutex& HostMutex();

// The session's drawing and id lists in the host for one call, under the host mutex; whatever
// the host held is kept in the session meanwhile and put back at the end, on every path. The
// host's messages of the call are the call's own. A session that stays in the host is there
// already: nothing is locked or swapped.
class InHost {
 public:
  explicit InHost(DrawingSession& session);
  ~InHost();
  InHost(const InHost&) = delete;
  InHost& operator=(const InHost&) = delete;

  // The messages the host was given since the call began, in UTF-8.
  std::vector<std::string> Messages() const;

 private:
  void Swap();
  DrawingSession& session_;
  std::unique_lock<std::mutex> lock_;
};

}  // namespace twinfind::session

#endif  // SESSION_IN_HOST_H
