#include "tools/view/view_security.h"

#include <random>

namespace twinfind::tool::view {

std::string NewToken() {
  std::random_device device;  // the system's generator (getrandom on Linux)
  static constexpr char kHex[] = "0123456789abcdef";
  std::string token;
  for (int i = 0; i < 4; ++i) {
    uint32_t bits = device();
    for (int j = 0; j < 8; ++j, bits >>= 4) token += kHex[bits & 15];
  }
  return token;
}

bool SameSecret(std::string_view a, std::string_view b) {
  unsigned char differ = a.size() == b.size() ? 0 : 1;
  for (size_t i = 0; i < a.size(); ++i) {
    differ |= static_cast<unsigned char>(a[i] ^ (i < b.size() ? b[i] : 0));
  }
  return differ == 0;
}

Checked CheckRequest(const std::multimap<std::string, std::string>& headers,
                     std::string_view path, int port, std::string_view token) {
  const auto header = [&](const char* name) -> std::optional<std::string> {
    const auto at = headers.find(name);
    if (at == headers.end()) return std::nullopt;
    return at->second;
  };
  for (const char* name : {"host", "origin", "sec-fetch-site"}) {
    if (headers.count(name) > 1) {
      return {std::nullopt, {400, std::string("the request names its ") + name + " twice"}};
    }
  }
  const std::string here = std::to_string(port);
  const auto host = header("host");
  if (!host || (*host != "127.0.0.1:" + here && *host != "localhost:" + here)) {
    return {std::nullopt, {403, "this server answers only requests to 127.0.0.1:" + here}};
  }
  if (const auto origin = header("origin")) {
    if (*origin != "http://127.0.0.1:" + here && *origin != "http://localhost:" + here) {
      return {std::nullopt, {403, "requests from another origin are refused"}};
    }
  }
  if (const auto site = header("sec-fetch-site"); site && *site == "cross-site") {
    return {std::nullopt, {403, "requests from another site are refused"}};
  }
  // "/TOKEN/REST"
  const bool tokenThere =
      path.size() >= token.size() + 2 && path[0] == '/' && path[token.size() + 1] == '/';
  if (!tokenThere || !SameSecret(path.substr(1, token.size()), token)) {
    return {std::nullopt, {403, "this address needs the token that twinfind view printed with it"}};
  }
  return {std::string(path.substr(token.size() + 2)), {}};
}

const std::map<std::string, std::string>& AnswerHeaders() {
  static const std::map<std::string, std::string> headers = {
      {"Cache-Control", "no-store"},
      {"X-Content-Type-Options", "nosniff"},
      {"X-Frame-Options", "DENY"},
      {"Referrer-Policy", "no-referrer"},
      {"Cross-Origin-Resource-Policy", "same-origin"},
      {"Content-Security-Policy",
       "default-src 'none'; script-src 'self'; style-src 'self'; img-src 'self' data:; "
       "connect-src 'self'; font-src 'self'; base-uri 'none'; form-action 'none'; "
       "frame-ancestors 'none'"},
  };
  return headers;
}

}  // namespace twinfind::tool::view
