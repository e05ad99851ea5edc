// The view's HTTP server on cpp-httplib.
#include <httplib.h>

#include <cctype>

#include "tools/view/http_server.h"

namespace twinfind::tool::view {
namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

class HttplibServer final : public HttpServer {
 public:
  HttplibServer(HttpHandler handler, size_t maxBody) : handler_(std::move(handler)) {
    server_.set_payload_max_length(maxBody);
    // A connection the browser keeps open holds one of the server's threads, and the server
    // stops only when those threads have ended: two seconds of quiet end one.
    server_.set_keep_alive_timeout(2);
    // The port is ours alone: the library's default also sets SO_REUSEPORT, which would let
    // another program of the user bind the same port and take the page's requests.
    server_.set_socket_options([](socket_t sock) {
      int yes = 1;
      setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });
    // Every request, whatever its method or path, goes to the one handler: the library's own
    // routing serves nothing (no folder is mounted), it only reads the request's body first.
    const auto all = [this](const httplib::Request& req, httplib::Response& res) {
      HttpRequest request;
      request.method = req.method;
      request.path = req.path;
      for (const auto& [name, value] : req.headers) request.headers[Lower(name)] = value;
      request.body = req.body;
      HttpAnswer answer = handler_(request);
      res.status = answer.status;
      for (const auto& [name, value] : answer.headers) res.set_header(name, value);
      res.set_content(answer.body, answer.contentType);
    };
    const std::string anyPath = ".*";
    server_.Get(anyPath, all);
    server_.Post(anyPath, all);
    server_.Put(anyPath, all);
    server_.Patch(anyPath, all);
    server_.Delete(anyPath, all);
    server_.Options(anyPath, all);
  }

  int Bind(const std::string& address, int port, std::string& error) override {
    const int bound = port == 0 ? server_.bind_to_any_port(address)
                                : (server_.bind_to_port(address, port) ? port : -1);
    if (bound < 0) {
      error = "cannot listen on " + address + ":" + std::to_string(port) +
              (port == 0 ? "" : " (is the port in use?)");
    }
    return bound;
  }

  void Serve() override { server_.listen_after_bind(); }
  void Stop() override { server_.stop(); }

 private:
  HttpHandler handler_;
  httplib::Server server_;
};

}  // namespace

std::unique_ptr<HttpServer> MakeHttpServer(HttpHandler handler, size_t maxBody) {
  return std::make_unique<HttplibServer>(std::move(handler), maxBody);
}

}  // namespace twinfind::tool::view
