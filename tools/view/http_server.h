// The HTTP server under the view, behind a seam of our own: requests and answers as plain
// records, a check of each request's head before its body is read, and one handler for the
// requests that pass it. The backend is one file chosen by the build (http_server_beast.cpp:
// Boost.Beast on Boost.Asio, Debian's libboost-dev).
#ifndef TOOLS_VIEW_HTTP_SERVER_H
#define TOOLS_VIEW_HTTP_SERVER_H

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace twinfind::tool::view {

struct HttpRequest {
  std::string method;                               // GET, POST, ...
  std::string path;                                 // as sent, before any query
  std::multimap<std::string, std::string> headers;  // names in lower case, each as often as sent
  std::string body;
};

struct HttpAnswer {
  int status = 200;
  std::string contentType = "text/plain; charset=utf-8";
  std::string body;
  std::map<std::string, std::string> headers;
};

// The value of a header sent once; nothing when it was not sent, or sent more than once.
std::optional<std::string> SingleHeader(const HttpRequest& request, const std::string& name);

// Called with a request's method, path and headers as soon as they have arrived, before its
// body is read: an answer refuses the request at once (and its body is never read).
using HttpHeadCheck = std::function<std::optional<HttpAnswer>(const HttpRequest& head)>;
// Called with the whole request, on a thread of the server's own; it may take its time.
using HttpHandler = std::function<HttpAnswer(const HttpRequest&)>;
// The answer to a request refused by the server itself (too large, malformed, a handler that
// failed): a status and a short reason.
using HttpRefusal = std::function<HttpAnswer(int status, const std::string& reason)>;

struct HttpLimits {
  size_t maxHead = 8 * 1024;  // request line and headers, bytes
  size_t maxBody = 1 << 20;   // bytes, chunked bodies counted as they arrive
  // A request must arrive whole within this of the connection's first wait; an answer must
  // leave within the write time.
  std::chrono::milliseconds readTime{5000}, writeTime{5000};
  // Connections held at most, within the process's open files (less some kept free); beyond
  // it the oldest refused one still being read goes, then the oldest still sending its request.
  size_t maxConnections = 128;
  int handlerThreads = 8;
};

class HttpServer {
 public:
  virtual ~HttpServer() = default;
  // Binds to the address and port (0: a free one); the port, or -1 and a reason.
  virtual int Bind(const std::string& address, int port, std::string& error) = 0;
  // Serves until Stop. Connections are read and written without a thread each, so that idle
  // or slow connections hold nothing but their buffers.
  virtual void Serve() = 0;
  // Makes Serve return at once, whatever connections are open; safe from any thread. Handlers
  // still running finish on their threads, their answers dropped.
  virtual void Stop() = 0;
};

std::unique_ptr<HttpServer> MakeHttpServer(HttpHeadCheck check, HttpHandler handler,
                                           HttpRefusal refusal, HttpLimits limits);

}  // namespace twinfind::tool::view

#endif  // TOOLS_VIEW_HTTP_SERVER_H
