// What the view's tests share: a scratch folder, the demo plate, and the page's side of the
// conversation (its requests, with its page id and origin, through an HTTP client of its own).
#ifndef TESTS_VIEW_VIEW_PAGE_H
#define TESTS_VIEW_VIEW_PAGE_H

#include <httplib.h>

#include <algorithm>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "tests/view/view_process.h"

namespace viewtest {

namespace fs = std::filesystem;
using nlohmann::json;

class Scratch {
 public:
  Scratch() {
    path_ = fs::temp_directory_path() /
            ("twinfind-view-" + std::to_string(getpid()) + "-" + std::to_string(counter_++));
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~Scratch() { fs::remove_all(path_); }
  const fs::path& path() const { return path_; }
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(path_)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  static inline int counter_ = 0;
  fs::path path_;
};

inline std::string Plate() { return std::string(TWINFIND_SAMPLES_DIR) + "/demo-plate.dxf"; }

inline std::string ReadFile(const fs::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

struct Page {
  ViewProcess& view;
  std::string id = "page-one";

  httplib::Client Client() const {
    httplib::Client client("127.0.0.1", view.port());
    client.set_url_encode(false);
    client.set_read_timeout(30, 0);
    return client;
  }
  httplib::Headers Headers() const {
    return {{"X-Twinfind-Page", id}, {"Origin", "http://127.0.0.1:" + std::to_string(view.port())}};
  }
  // An action; the answer's status and body.
  std::pair<int, json> Act(const json& body) const {
    auto client = Client();
    const auto answer =
        client.Post((view.base() + "api/act").c_str(), Headers(), body.dump(), "application/json");
    if (!answer) return {-1, json()};
    return {answer->status, json::parse(answer->body, nullptr, false)};
  }
  json State(const json& body) const { return Act(body).second; }
  json Dialog(const json& body) const {
    json b = body;
    b["do"] = "dialog";
    return State(b);
  }
};

inline bool HasLine(const json& state, const std::string& kind, const std::string& text) {
  for (const json& line : state["lines"]) {
    if (line["kind"] == kind && line["text"].get<std::string>().find(text) != std::string::npos) {
      return true;
    }
  }
  return false;
}

}  // namespace viewtest

#endif  // TESTS_VIEW_VIEW_PAGE_H
