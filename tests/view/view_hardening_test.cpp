// twinfind view against requests no page sends: bodies nested or sized to break the parser,
// actions of the wrong kind, doubled headers, chunked bodies without end, and many connections
// that send nothing or a byte now and then. The view must answer each with a short refusal
// and go on serving the page, and stop when asked whatever is connected.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

#include "tests/view/view_page.h"

namespace viewtest {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// A raw connection to the view, for what an HTTP client library would not send.
class Raw {
 public:
  explicit Raw(int port) {
    fd_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    connected_ = connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    const timeval wait{10, 0};
    setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
  }
  ~Raw() { close(fd_); }
  Raw(const Raw&) = delete;
  Raw& operator=(const Raw&) = delete;
  bool connected() const { return connected_; }
  bool Send(const std::string& bytes) {
    return send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL) ==
           static_cast<ssize_t>(bytes.size());
  }
  // Everything the view sends until it closes (or 10 s pass).
  std::string Answer() {
    std::string answer;
    char buffer[4096];
    for (ssize_t n; (n = recv(fd_, buffer, sizeof buffer, 0)) > 0;) answer.append(buffer, n);
    return answer;
  }

 private:
  int fd_ = -1;
  bool connected_ = false;
};

int StatusOf(const std::string& answer) {
  return answer.size() > 12 ? std::atoi(answer.substr(9, 3).c_str()) : -1;
}

std::string Head(const ViewProcess& view, const std::string& method, const std::string& path,
                 const std::string& extra) {
  const std::string port = std::to_string(view.port());
  return method + " " + path + " HTTP/1.1\r\nHost: 127.0.0.1:" + port +
         "\r\nOrigin: http://127.0.0.1:" + port + "\r\nX-Twinfind-Page: page-one\r\n" + extra;
}

TEST(ViewHardening, BadRequestsGetAShortRefusalAndTheViewServesOn) {
  Scratch scratch;
  ViewProcess view(scratch.path(), {Plate(), "--settings", "s.reg"});
  ASSERT_TRUE(view.started()) << view.printed();
  const std::string act = view.base() + "api/act";
  const std::string port = std::to_string(view.port());
  const std::string deep = std::string(300000, '[') + std::string(300000, ']');
  const auto json = [](const std::string& body) {
    return "Content-Type: application/json\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\n\r\n" + body;
  };
  struct Case {
    const char* what;
    std::string request;
    int status;
    const char* says;
  };
  const Case cases[] = {
      {"nested 300,000 levels deep",
       Head(view, "POST", act, json("{\"do\":\"state\",\"x\":" + deep + "}")), 400, "nests deeper"},
      {"an action that is a number", Head(view, "POST", act, json(R"({"do":7})")), 400,
       "names no action"},
      {"an action that is null", Head(view, "POST", act, json(R"({"do":null})")), 400,
       "names no action"},
      {"an action that is an object", Head(view, "POST", act, json(R"({"do":{"a":1}})")), 400,
       "names no action"},
      {"no JSON", Head(view, "POST", act, json("range 0 0 1 1")), 400, "no JSON object"},
      {"another site's host first, then ours",
       "GET " + view.base() + " HTTP/1.1\r\nHost: evil.example\r\nHost: 127.0.0.1:" + port +
           "\r\n\r\n",
       400, "host twice"},
      {"two origins", Head(view, "GET", view.base(), "Origin: http://evil.example\r\n\r\n"), 400,
       "origin twice"},
      {"a head too large",
       Head(view, "GET", view.base(), "X-Big: " + std::string(20000, 'a') + "\r\n\r\n"), 431,
       "too large"},
      {"a chunked body without the token",
       "POST /api/act HTTP/1.1\r\nHost: 127.0.0.1:" + port +
           "\r\nTransfer-Encoding: chunked\r\n\r\n100000\r\n" + std::string(4096, 'x'),
       403, "needs the token"},
      {"a chunked body over the limit",
       Head(view, "POST", act, "Transfer-Encoding: chunked\r\n\r\n") + "200000\r\n" +
           std::string(0x200000, ' ') + "\r\n0\r\n\r\n",
       413, "too large"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Raw raw(view.port());
    ASSERT_TRUE(raw.connected());
    raw.Send(c.request);
    const std::string answer = raw.Answer();
    EXPECT_EQ(StatusOf(answer), c.status) << answer.substr(0, 300);
    EXPECT_NE(answer.find(c.says), std::string::npos) << answer.substr(0, 300);
    // Every refusal is a short JSON message with the headers every answer carries, and tells
    // nothing of what went on inside.
    EXPECT_NE(answer.find("application/json"), std::string::npos);
    EXPECT_NE(answer.find("Content-Security-Policy"), std::string::npos);
    EXPECT_EQ(answer.find("EXCEPTION"), std::string::npos);
    // The view goes on serving the page.
    const Page page{view};
    EXPECT_EQ(page.Act({{"do", "state"}}).first, 200);
  }
}

TEST(ViewHardening, IdleAndSlowConnectionsNeitherStarveThePageNorHoldTheViewOnQuit) {
  Scratch scratch;
  ViewProcess view(scratch.path(), {Plate(), "--settings", "s.reg"});
  ASSERT_TRUE(view.started()) << view.printed();
  std::vector<std::unique_ptr<Raw>> idle, slow;
  for (int i = 0; i < 200; ++i) idle.push_back(std::make_unique<Raw>(view.port()));
  for (int i = 0; i < 10; ++i) {
    slow.push_back(std::make_unique<Raw>(view.port()));
    slow.back()->Send("GET ");
  }
  bool dripping = true;
  std::thread drip([&] {
    while (dripping) {
      for (auto& s : slow) s->Send("a");
      std::this_thread::sleep_for(300ms);
    }
  });
  const Page page{view};
  const auto asked = Clock::now();
  const auto [status, state] = page.Act({{"do", "state"}});
  const auto answered = Clock::now() - asked;
  EXPECT_EQ(status, 200);
  EXPECT_LT(answered, 3s) << "the page waited " << std::chrono::duration<double>(answered).count()
                          << " s";
  auto client = page.Client();
  const auto quit = Clock::now();
  client.Post((view.base() + "api/quit").c_str(), page.Headers(), "{}", "application/json");
  EXPECT_EQ(view.Wait(10s), 0);
  const auto stopped = Clock::now() - quit;
  EXPECT_LT(stopped, 3s) << "the view took " << std::chrono::duration<double>(stopped).count()
                         << " s to stop";
  dripping = false;
  drip.join();
}

// At the process's limit of open files, a local user holding connections (some sending
// nothing, some sending requests without the page's token and never reading the refusal)
// starves neither the page nor the view: every connection counts against the view's cap, the
// refused ones first to go.
TEST(ViewHardening, AFloodOfConnectionsAtTheOpenFilesLimitDoesNotStarveThePage) {
  Scratch scratch;
  ViewProcess view(scratch.path(), {Plate(), "--settings", "s.reg"}, 256);
  ASSERT_TRUE(view.started()) << view.printed();
  std::vector<std::unique_ptr<Raw>> held;
  for (int i = 0; i < 600; ++i) {
    held.push_back(std::make_unique<Raw>(view.port()));
    if (i % 2 == 0) {
      held.back()->Send(
          "POST /not-the-token/api/state HTTP/1.1\r\nHost: 127.0.0.1\r\n"
          "Content-Length: 100000\r\n\r\n" +
          std::string(1000, 'x'));
    }
  }
  const Page page{view};
#ifdef __SANITIZE_ADDRESS__
  const auto allowed = 3s;
#else
  const auto allowed = 1s;
#endif
  for (int i = 0; i < 3; ++i) {
    const auto asked = Clock::now();
    const auto [status, state] = page.Act({{"do", "state"}});
    const auto answered = Clock::now() - asked;
    EXPECT_EQ(status, 200);
    EXPECT_LT(answered, allowed) << "the page waited "
                                 << std::chrono::duration<double>(answered).count() << " s";
    for (int j = 0; j < 100; ++j) held.push_back(std::make_unique<Raw>(view.port()));
  }
  auto client = page.Client();
  client.Post((view.base() + "api/quit").c_str(), page.Headers(), "{}", "application/json");
  EXPECT_EQ(view.Wait(10s), 0);
}

}  // namespace
}  // namespace viewtest
