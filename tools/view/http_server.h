// The HTTP server under the view, behind a seam of our own: requests and answers as plain
// records, one handler for all of them. The backend is one file chosen by the build
// (http_server_httplib.cpp: cpp-httplib, Debian's libcpp-httplib-dev).
#ifndef TOOLS_VIEW_HTTP_SERVER_H
#define TOOLS_VIEW_HTTP_SERVER_H

#include <functional>
#include <map>
#include <memory>
#include <string>

namespace twinfind::tool::view {

struct HttpRequest {
  std::string method;                          // GET, POST, ...
  std::string path;                            // as sent, before any query
  std::map<std::string, std::string> headers;  // names in lower case
  std::string body;
};

struct HttpAnswer {
  int status = 200;
  std::string contentType = "text/plain; charset=utf-8";
  std::string body;
  std::map<std::string, std::string> headers;
};

using HttpHandler = std::function<HttpAnswer(const HttpRequest&)>;

class HttpServer {
 public:
  virtual ~HttpServer() = default;
  // Binds to the address and port (0: a free one); the port, or -1 and a reason.
  virtual int Bind(const std::string& address, int port, std::string& error) = 0;
  // Serves until Stop; requests are handled on the server's own threads.
  virtual void Serve() = 0;
  // Makes Serve return; safe from any thread.
  virtual void Stop() = 0;
};

// The build's server; its requests go to `handler`. Bodies over `maxBody` bytes are refused.
std::unique_ptr<HttpServer> MakeHttpServer(HttpHandler handler, size_t maxBody);

}  // namespace twinfind::tool::view

#endif  // TOOLS_VIEW_HTTP_SERVER_H
