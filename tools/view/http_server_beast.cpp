// The view's HTTP server on Boost.Beast and Boost.Asio (Debian's libboost-dev, header-only).
// One thread reads and writes every connection without blocking, so that idle or slow
// connections hold only their buffers; a request's head is checked as soon as it has arrived,
// its body read only when the head passes, within the size limits as the bytes arrive (chunked
// bodies too) and within the read time; handlers run on a small pool of threads of their own.
// Every answer closes its connection.
#include <utility>  // before Boost 1.74's Asio, which uses std::exchange without it in C++20

#include <sys/resource.h>

#include <boost/asio.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>

#include <algorithm>
#include <array>
#include <atomic>
#include <cctype>
#include <exception>
#include <list>

#include "tools/view/http_server.h"

namespace twinfind::tool::view {

std::optional<std::string> SingleHeader(const HttpRequest& request, const std::string& name) {
  if (request.headers.count(name) != 1) return std::nullopt;
  return request.headers.find(name)->second;
}

namespace {

namespace beast = boost::beast;
namespace http = beast::http;
namespace net = boost::asio;
using tcp = net::ip::tcp;

// The longest a refused connection is read on after its answer.
constexpr std::chrono::milliseconds kMostLinger{1000};
// Open files kept free of connections, for the drawing, its saves, the settings and the pool.
constexpr size_t kFilesKeptFree = 64;
// How long the acceptor waits when the process has no file left for a connection.
constexpr std::chrono::milliseconds kAcceptPause{20};

// The connections held at most: the limit asked for, within the process's open files.
size_t ConnectionCap(size_t asked) {
  rlimit files{};
  if (getrlimit(RLIMIT_NOFILE, &files) != 0 || files.rlim_cur == RLIM_INFINITY) return asked;
  const size_t free = files.rlim_cur > kFilesKeptFree + 8 ? files.rlim_cur - kFilesKeptFree : 8;
  return std::min(asked, free);
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

class BeastServer;

class Connection : public std::enable_shared_from_this<Connection> {
 public:
  Connection(tcp::socket socket, BeastServer& server)
      : stream_(std::move(socket)), server_(server) {}

  void Start();
  // Ends the connection at once (on the server's thread).
  void Close() {
    beast::error_code ignored;
    stream_.socket().shutdown(tcp::socket::shutdown_both, ignored);
    stream_.close();
  }
  bool readingHead() const { return readingHead_; }
  bool reading() const { return readingHead_ || readingBody_; }
  // Answered before its request was read whole, reading what the client still sends.
  bool lingering() const { return lingering_; }

 private:
  void OnHead(beast::error_code ec);
  void OnBody(beast::error_code ec);
  void Answer(HttpAnswer answer);
  void Refuse(int status, const std::string& reason);
  void Linger(size_t left);

  beast::tcp_stream stream_;
  BeastServer& server_;
  beast::flat_buffer buffer_;
  std::optional<http::request_parser<http::empty_body>> head_;
  std::optional<http::request_parser<http::string_body>> whole_;
  HttpRequest request_;
  std::shared_ptr<http::response<http::string_body>> response_;
  bool readingHead_ = true;
  bool readingBody_ = false;
  bool unread_ = false;  // answered before the request's body was read
  bool lingering_ = false;
  std::array<char, 16384> scratch_{};
};

class BeastServer final : public HttpServer {
 public:
  BeastServer(HttpHeadCheck check, HttpHandler handler, HttpRefusal refusal, HttpLimits limits)
      : check_(std::move(check)),
        handler_(std::move(handler)),
        refusal_(std::move(refusal)),
        limits_(limits),
        cap_(ConnectionCap(limits.maxConnections)),
        acceptor_(io_),
        pool_(static_cast<size_t>(std::max(1, limits.handlerThreads))) {}

  ~BeastServer() override {
    Stop();
    pool_.join();
  }

  int Bind(const std::string& address, int port, std::string& error) override {
    beast::error_code ec;
    const auto ip = net::ip::make_address(address, ec);
    const tcp::endpoint endpoint(ip, static_cast<unsigned short>(port));
    if (!ec) acceptor_.open(endpoint.protocol(), ec);
    // SO_REUSEADDR only: SO_REUSEPORT would let another program of the user bind the same port
    // and take the page's requests.
    if (!ec) acceptor_.set_option(net::socket_base::reuse_address(true), ec);
    if (!ec) acceptor_.bind(endpoint, ec);
    if (!ec) acceptor_.listen(net::socket_base::max_listen_connections, ec);
    if (ec) {
      error = "cannot listen on " + address + ":" + std::to_string(port) +
              (port == 0 ? "" : " (is the port in use?)");
      return -1;
    }
    return acceptor_.local_endpoint().port();
  }

  void Serve() override {
    Accept();
    io_.run();
  }

  // New connections are refused and those still sending their requests closed at once; the
  // answers under way get a moment to leave (the answer to the page's Quit among them), then
  // Serve returns and the remaining connections go with the server.
  void Stop() override {
    if (stopped_.exchange(true)) return;
    net::post(io_, [this] {
      beast::error_code ignored;
      acceptor_.close(ignored);
      for (const auto& held : connections_) {
        if (const auto c = held.lock(); c && c->reading()) c->Close();
      }
      grace_.expires_after(std::chrono::milliseconds(300));
      grace_.async_wait([this](beast::error_code) { io_.stop(); });
    });
  }

  const HttpLimits& limits() const { return limits_; }
  const HttpHeadCheck& check() const { return check_; }
  const HttpRefusal& refusal() const { return refusal_; }
  bool stopped() const { return stopped_; }

  // Runs the handler on the pool, then hands its answer back to the connection.
  void Handle(std::shared_ptr<Connection> connection, HttpRequest request,
              std::function<void(std::shared_ptr<Connection>, HttpAnswer)> done) {
    net::post(pool_, [this, connection, request = std::move(request), done]() mutable {
      HttpAnswer answer;
      try {
        answer = handler_(request);
      } catch (const std::exception&) {
        answer = refusal_(500, "the request could not be answered");
      }
      net::post(io_, [connection, answer = std::move(answer), done]() mutable {
        done(connection, std::move(answer));
      });
    });
  }

 private:
  void Accept() {
    acceptor_.async_accept(net::make_strand(io_), [this](beast::error_code ec, tcp::socket socket) {
      if (!acceptor_.is_open() || stopped_) return;
      if (ec) {
        // No file left for the connection (a flood, or the process's limit reached by other
        // files): one held connection goes, and the acceptor tries again shortly rather than
        // at once, which would only spin.
        if (ec == net::error::no_descriptors || ec == net::error::no_buffer_space) {
          MakeRoom(connections_.size() > 0 ? connections_.size() - 1 : 0);
          pause_.expires_after(kAcceptPause);
          pause_.async_wait([this](beast::error_code) { Accept(); });
          return;
        }
        Accept();
        return;
      }
      MakeRoom(cap_ - 1);
      auto connection = std::make_shared<Connection>(std::move(socket), *this);
      connections_.push_back(connection);
      connection->Start();
      Accept();
    });
  }

  // Keeps at most `most` connections open: those that are gone are forgotten; then, oldest
  // first, those answered already and reading what their client still sends (a refused
  // request), then those still sending their request. A request being answered is kept: it
  // is the page's, it passed the checks.
  void MakeRoom(size_t most) {
    connections_.remove_if([](const std::weak_ptr<Connection>& c) { return c.expired(); });
    for (const auto closable : {&Connection::lingering, &Connection::reading}) {
      for (auto it = connections_.begin();
           it != connections_.end() && connections_.size() > most;) {
        const auto c = it->lock();
        if (c && ((*c).*closable)()) {
          c->Close();
          it = connections_.erase(it);
        } else {
          ++it;
        }
      }
    }
  }

  HttpHeadCheck check_;
  HttpHandler handler_;
  HttpRefusal refusal_;
  HttpLimits limits_;
  size_t cap_;  // connections held at most
  net::io_context io_{1};
  tcp::acceptor acceptor_;
  net::steady_timer grace_{io_};
  net::steady_timer pause_{io_};
  net::thread_pool pool_;
  std::atomic<bool> stopped_{false};
  std::list<std::weak_ptr<Connection>> connections_;  // on the server's thread only
};

void Connection::Start() {
  head_.emplace();
  head_->header_limit(static_cast<std::uint32_t>(server_.limits().maxHead));
  head_->body_limit(server_.limits().maxBody);
  stream_.expires_after(server_.limits().readTime);
  http::async_read_header(
      stream_, buffer_, *head_,
      [self = shared_from_this()](beast::error_code ec, size_t) { self->OnHead(ec); });
}

void Connection::OnHead(beast::error_code ec) {
  if (ec == http::error::header_limit) return Refuse(431, "the request's head is too large");
  if (ec == http::error::body_limit) return Refuse(413, "the request's body is too large");
  if (ec) return Close();  // timed out, closed, or no HTTP
  const auto& head = head_->get();
  request_.method = std::string(head.method_string());
  const std::string target(head.target());
  request_.path = target.substr(0, target.find('?'));
  for (const auto& field : head) {
    request_.headers.emplace(Lower(std::string(field.name_string())), std::string(field.value()));
  }
  if (auto refused = server_.check()(request_)) {
    readingHead_ = false;
    unread_ = true;
    return Answer(std::move(*refused));
  }
  readingHead_ = false;
  readingBody_ = true;
  whole_.emplace(std::move(*head_));
  whole_->body_limit(server_.limits().maxBody);
  http::async_read(stream_, buffer_, *whole_,
                   [self = shared_from_this()](beast::error_code e, size_t) { self->OnBody(e); });
}

void Connection::OnBody(beast::error_code ec) {
  readingBody_ = false;
  if (ec == http::error::body_limit) return Refuse(413, "the request's body is too large");
  if (ec) return Close();
  request_.body = std::move(whole_->get().body());
  stream_.expires_never();  // the handler may take its time; the answer gets the write time
  server_.Handle(
      shared_from_this(), std::move(request_),
      [](std::shared_ptr<Connection> self, HttpAnswer answer) { self->Answer(std::move(answer)); });
}

void Connection::Refuse(int status, const std::string& reason) {
  readingHead_ = false;
  unread_ = true;
  Answer(server_.refusal()(status, reason));
}

// After an answer given before the request's body was read: the rest of what the client sends
// is read and dropped, up to a bound and within the read time, so that its sending ends and it
// reads the answer instead of finding the connection reset.
void Connection::Linger(size_t left) {
  lingering_ = true;
  if (left == 0) return Close();
  stream_.async_read_some(net::buffer(scratch_),
                          [self = shared_from_this(), left](beast::error_code ec, size_t n) {
                            if (ec) return self->Close();
                            self->Linger(left > n ? left - n : 0);
                          });
}

void Connection::Answer(HttpAnswer answer) {
  response_ = std::make_shared<http::response<http::string_body>>();
  response_->version(11);
  response_->result(static_cast<unsigned>(answer.status));
  response_->set(http::field::content_type, answer.contentType);
  for (const auto& [name, value] : answer.headers) response_->set(name, value);
  response_->keep_alive(false);
  response_->body() = std::move(answer.body);
  response_->prepare_payload();
  stream_.expires_after(server_.limits().writeTime);
  http::async_write(stream_, *response_, [self = shared_from_this()](beast::error_code ec, size_t) {
    if (ec || !self->unread_) return self->Close();
    beast::error_code ignored;
    self->stream_.socket().shutdown(tcp::socket::shutdown_send, ignored);
    self->stream_.expires_after(std::min(self->server_.limits().readTime, kMostLinger));
    self->Linger(4 * self->server_.limits().maxBody + self->server_.limits().maxHead);
  });
}

}  // namespace

std::unique_ptr<HttpServer> MakeHttpServer(HttpHeadCheck check, HttpHandler handler,
                                           HttpRefusal refusal, HttpLimits limits) {
  return std::make_unique<BeastServer>(std::move(check), std::move(handler), std::move(refusal),
                                       limits);
}

}  // namespace twinfind::tool::view
