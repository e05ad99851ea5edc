// What every request to the view must show before it is served: it comes to the loopback
// address the server listens on (the Host header, so that a name rebound to 127.0.0.1 by
// another site's page does not reach it), from the page's own origin when it names one, not
// from another site, and its path starts with the token the tool printed.
#ifndef TOOLS_VIEW_VIEW_SECURITY_H
#define TOOLS_VIEW_VIEW_SECURITY_H

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace twinfind::tool::view {

// A fresh token: 128 random bits from the system's generator, as 32 hexadecimal digits.
std::string NewToken();

// Equal texts, compared in a time that does not tell how much of them matched.
bool SameSecret(std::string_view a, std::string_view b);

struct Refused {
  int status = 403;
  std::string reason;
};

// Checks a request's headers (names in lower case, each as often as sent) and path against the
// server's port and token; what remains of the path after "/TOKEN/" when it passes, or why it
// is refused. A Host, Origin or Sec-Fetch-Site header sent more than once is refused: which of
// them a check and a browser would each take is not to be guessed.
struct Checked {
  std::optional<std::string> rest;
  Refused refused;
};
Checked CheckRequest(const std::multimap<std::string, std::string>& headers,
                     std::string_view path, int port, std::string_view token);

// The headers every answer carries: nothing is cached, framed, sniffed, or sent on as a
// referrer (the address holds the token), and the page runs only its own scripts.
const std::map<std::string, std::string>& AnswerHeaders();

}  // namespace twinfind::tool::view

#endif  // TOOLS_VIEW_VIEW_SECURITY_H
