// libFuzzer target: any bytes as one request to the view's server, as it reaches the routes
// once the server has parsed it: the first line is the path after the token, then header lines
// ("Name: value") up to an empty line, then the body. The token, the Host and the Origin of the
// page are given (header lines add to them, doubled headers included), so that the input
// reaches everything a page may ask. The view runs on a small drawing of twins with the command
// loaded and the settings in memory, in a folder of its own (a Save writes there). Besides not
// crashing or hanging, and no exception getting out of the routes: every answer has a status of
// an answer, the headers every answer carries and a JSON body when it says JSON; the host is
// left in order.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

#include <nlohmann/json.hpp>

#include "host/host.h"
#include "plugin/entry.h"
#include "settings/settings_store.h"
#include "settings/store_memory.h"
#include "testkit/twin_drawing.h"
#include "tools/run_command.h"
#include "tools/view/host_worker.h"
#include "tools/view/view_routes.h"
#include "tools/view/view_session.h"

namespace {

using namespace twinfind::tool;

constexpr int kPort = 8123;
const std::string kToken = "00112233445566778899aabbccddeeff";

void Check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "view_request_fuzzer: %s\n", what);
  std::abort();
}

view::HttpRequest RequestOf(const std::string& input) {
  view::HttpRequest request;
  request.method = "POST";
  const std::string here = "127.0.0.1:" + std::to_string(kPort);
  request.headers.emplace("host", here);
  request.headers.emplace("origin", "http://" + here);
  request.headers.emplace("x-twinfind-page", "fuzz");
  size_t at = input.find('\n');
  const std::string route = input.substr(0, at);
  if (route.rfind("GET ", 0) == 0) {
    request.method = "GET";
    request.path = "/" + kToken + "/" + route.substr(4);
  } else {
    request.path = "/" + kToken + "/" + route;
  }
  while (at != std::string::npos) {
    const size_t next = input.find('\n', at + 1);
    const std::string line = input.substr(at + 1, next == std::string::npos ? next : next - at - 1);
    at = next;
    if (line.empty()) break;
    const size_t colon = line.find(':');
    std::string name = line.substr(0, colon);
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    request.headers.emplace(name, colon == std::string::npos ? "" : line.substr(colon + 1));
  }
  if (at != std::string::npos) request.body = input.substr(at + 1);
  return request;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static twinfind::MemorySettingsStore* const store = [] {
    auto* memory = new twinfind::MemorySettingsStore;
    twinfind::InstallSettingsStore(memory);
    return memory;
  }();
  // A folder of its own, removed at the end, for whatever a Save writes: the request is handled
  // there, and the fuzzer's own folder is back before it reads its next input by a relative name.
  // Never freed, so that it outlives the exit handler that removes it.
  static const std::string* const folder = [] {
    auto* made =
        new std::string((std::filesystem::temp_directory_path() / "twinfind-fuzz-XXXXXX").string());
    if (mkdtemp(made->data()) == nullptr) std::abort();
    setenv("TMPDIR", made->c_str(), 1);  // the view's session settings go there too
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(*folder, ec);
    });
    return made;
  }();
  const std::filesystem::path home = std::filesystem::current_path();
  if (chdir(folder->c_str()) != 0) std::abort();
  *store = twinfind::MemorySettingsStore{};
  vexhost::ResetHost();
  drawgen::TwinDrawing drawing(11, 4);
  drawing.Place({});
  drawing.Place({drawing.spacing(), 0, 90, false});
  Startup(nullptr);
  twinfind::tool::SetFoundPartsSource(TwinfindFoundParts);
  {
    Session session;
    view::ViewSession model(session);
    view::HostWorker worker({[&model] { return model.State(nlohmann::json::object()); },
                             [&model] { return model.Refusal("a dialog is open"); },
                             [&model] { return model.Refusal("no dialog is open"); }});
    vexhost::TheHost().dialogInput.SetSource([&worker] { return worker.NextDialogAction(); });
    worker.Start();
    view::ViewRoutes routes(kToken, kPort, worker, model, [] {});
    const view::HttpRequest request =
        RequestOf(std::string(reinterpret_cast<const char*>(data), size));
    const auto refused = routes.CheckHead(request);
    const view::HttpAnswer answer = refused ? *refused : routes.Handle(request);
    Check(answer.status >= 200 && answer.status < 600, "an answer has no status of an answer");
    Check(answer.headers.count("Content-Security-Policy") == 1 &&
              answer.headers.count("Cache-Control") == 1,
          "an answer lacks the headers every answer carries");
    if (answer.contentType.rfind("application/json", 0) == 0) {
      Check(!nlohmann::json::parse(answer.body, nullptr, false).is_discarded(),
            "an answer that says JSON is no JSON");
    }
    worker.Stop();
    vexhost::TheHost().dialogInput.SetSource(nullptr);
    model.Finish();
  }
  vexhost::Host& host = vexhost::TheHost();
  for (const int id : host.drawing.SegmentIds()) {
    Check(host.drawing.FindSegment(id)->life != VEX_LIFE_TEMPORARY,
          "a temporary segment is left in the drawing");
  }
  for (int list = 0; list <= 9; ++list) Check(!host.lists.IsOpen(list), "an id list is left open");
  Check(host.holes.outstanding() == 0, "a hole record was not freed");
  if (chdir(home.c_str()) != 0) std::abort();
  return 0;
}
