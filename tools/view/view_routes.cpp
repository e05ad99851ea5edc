#include "tools/view/view_routes.h"

#include <nlohmann/json.hpp>

#include "common/language.h"
#include "tools/view/page_assets.h"
#include "tools/view/view_security.h"

namespace twinfind::tool::view {
namespace {

constexpr const char* kJson = "application/json; charset=utf-8";

HttpAnswer JsonAnswer(std::string body, int status = 200) {
  HttpAnswer answer;
  answer.status = status;
  answer.contentType = kJson;
  answer.body = std::move(body);
  return answer;
}

// Whether the JSON text nests arrays and objects deeper than `limit`, told before it is parsed
// (strings, where brackets are plain text, are stepped over).
bool NestsDeeperThan(std::string_view text, int limit) {
  int depth = 0;
  bool inString = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (inString) {
      if (c == '\\') {
        ++i;
      } else if (c == '"') {
        inString = false;
      }
    } else if (c == '"') {
      inString = true;
    } else if (c == '[' || c == '{') {
      if (++depth > limit) return true;
    } else if (c == ']' || c == '}') {
      --depth;
    }
  }
  return false;
}

}  // namespace

HttpAnswer ViewRoutes::Refusal(int status, const std::string& reason) {
  HttpAnswer answer = JsonAnswer(nlohmann::json{{"ok", false}, {"error", reason}}.dump(
                                     -1, ' ', false, nlohmann::json::error_handler_t::replace),
                                 status);
  for (const auto& [name, value] : AnswerHeaders()) answer.headers[name] = value;
  return answer;
}

std::optional<HttpAnswer> ViewRoutes::CheckHead(const HttpRequest& head) const {
  const Checked checked = CheckRequest(head.headers, head.path, port_, token_);
  if (checked.rest) return std::nullopt;
  return Refusal(checked.refused.status, "twinfind view: " + checked.refused.reason);
}

ViewRoutes::ViewRoutes(std::string token, int port, HostWorker& worker, ViewSession& session,
                       std::function<void()> quit)
    : token_(std::move(token)),
      port_(port),
      worker_(worker),
      session_(session),
      quit_(std::move(quit)),
      last_(Clock::now().time_since_epoch().count()) {}

HttpAnswer ViewRoutes::Handle(const HttpRequest& request) {
  const Checked checked = CheckRequest(request.headers, request.path, port_, token_);
  HttpAnswer answer;
  if (!checked.rest) {
    return Refusal(checked.refused.status, "twinfind view: " + checked.refused.reason);
  } else {
    last_ = Clock::now().time_since_epoch().count();
    const std::string& route = *checked.rest;
    if (route.rfind("api/", 0) == 0) {
      answer = Api(route.substr(4), request);
    } else if (request.method != "GET" && request.method != "HEAD") {
      return Refusal(405, "twinfind view: the page's files are only read");
    } else {
      answer = Refusal(404, "twinfind view: no such file in the page");
      const std::string name = route.empty() ? "index.html" : route;
      for (const PageAsset& asset : PageAssets()) {
        if (asset.name == name) {
          answer = {};
          answer.contentType = std::string(asset.type);
          answer.body = std::string(asset.body);
          // The page opens in the command's language (the mLanguage setting, its button).
          if (name == "index.html") {
            const std::string korean = "<html lang=\"ko\">";
            if (const size_t at = answer.body.find(korean); at != std::string::npos) {
              answer.body.replace(
                  at, korean.size(),
                  "<html lang=\"" + std::string(LanguageCode(CurrentLanguage())) + "\">");
            }
          }
        }
      }
    }
  }
  for (const auto& [name, value] : AnswerHeaders()) answer.headers[name] = value;
  return answer;
}

std::optional<HttpAnswer> ViewRoutes::HoldPage(const HttpRequest& request) {
  const auto page = SingleHeader(request, "x-twinfind-page");
  if (!page || page->empty() || page->size() > 64) {
    return Refusal(400, "twinfind view: the request does not say which page it comes from");
  }
  std::lock_guard<std::mutex> lock(pageMutex_);
  const Clock::time_point now = Clock::now();
  if (!page_.empty() && page_ != *page && now - pageHeard_ < kPageSilence) {
    return JsonAnswer(nlohmann::json{{"ok", false},
                                     {"busy", true},
                                     {"error",
                                      "Another page is already driving this command. Use that "
                                      "page, or quit it there; one page at a time drives it."}}
                          .dump(),
                      409);
  }
  page_ = *page;
  pageHeard_ = now;
  return std::nullopt;
}

HttpAnswer ViewRoutes::Api(const std::string& route, const HttpRequest& request) {
  if (auto refused = HoldPage(request)) return *refused;
  const bool post = request.method == "POST";
  if (route == "act" && post) {
    if (NestsDeeperThan(request.body, kDeepestJson)) {
      return Refusal(400,
                     "the request nests deeper than " + std::to_string(kDeepestJson) + " levels");
    }
    const nlohmann::json body = nlohmann::json::parse(request.body, nullptr, false);
    if (!body.is_object()) return Refusal(400, "the request is no JSON object");
    const auto action = body.find("do");
    if (action == body.end() || !action->is_string()) {
      return Refusal(400, "the request's \"do\" names no action (a text)");
    }
    const std::string what = action->get<std::string>();
    if (what == "dialog") {
      return JsonAnswer(worker_.Run(HostWorker::Kind::kDialog, nullptr,
                                    [this, body] { return session_.OfferDialogAction(body); }));
    }
    const auto kind = what == "state" ? HostWorker::Kind::kRead : HostWorker::Kind::kCommand;
    return JsonAnswer(worker_.Run(kind, [this, body] { return session_.Act(body); }));
  }
  if (route == "drawing.svg" && request.method == "GET") {
    HttpAnswer answer;
    answer.contentType = "image/svg+xml; charset=utf-8";
    answer.body = worker_.Run(HostWorker::Kind::kRead, [this] { return session_.LastingSvg(); });
    return answer;
  }
  if (route == "report.json" && request.method == "GET") {
    HttpAnswer answer =
        JsonAnswer(worker_.Run(HostWorker::Kind::kRead, [this] { return session_.ReportJson(); }));
    answer.headers["Content-Disposition"] = "attachment; filename=\"twinfind-report.json\"";
    return answer;
  }
  // The survey's progress and its cancelling, answered here and not by the host's worker, which
  // is busy with the survey.
  if (route == "progress" && request.method == "GET") return JsonAnswer(session_.SurveyProgress());
  if (route == "cancel" && post) {
    session_.CancelSurvey();
    return JsonAnswer(R"({"ok":true,"cancelled":true})");
  }
  if (route == "quit" && post) {
    quit_();
    return JsonAnswer(R"({"ok":true,"quit":true})");
  }
  return Refusal(404, "twinfind view: no such request");
}

}  // namespace twinfind::tool::view
