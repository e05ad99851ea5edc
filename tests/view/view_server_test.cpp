// twinfind view as the browser meets it: real HTTP requests to the tool on a loopback port.
// What it refuses (no token, another origin, another host, a path outside its own), one page
// at a time, the command and its dialog driven through the page's requests, Save writing only
// the file it is given, and the ways it stops.
#include <gtest/gtest.h>

#include <fstream>

#include "tests/view/view_page.h"

namespace viewtest {
namespace {

using namespace std::chrono_literals;

// The view of the demo plate with a settings file of its own in a scratch folder, started.
class PlateViewTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(view.started()) << view.printed(); }

  Scratch scratch;
  ViewProcess view{scratch.path(), {Plate(), "--settings", "s.reg"}};
};

TEST_F(PlateViewTest, RefusesWhatCarriesNoTokenComesFromElsewhereOrLiesOutsideItsOwnPaths) {
  const std::string port = std::to_string(view.port());
  const std::string base = view.base();
  const std::string token = view.token();
  struct Case {
    const char* what;
    std::string method, path;
    httplib::Headers headers;
    int status;
    std::string says;  // in the body
  };
  const httplib::Headers page = {{"X-Twinfind-Page", "p"}};
  const Case cases[] = {
      {"no token", "GET", "/", {}, 403, "needs the token"},
      {"the page without its token", "GET", "/index.html", {}, 403, "needs the token"},
      {"another token", "GET", "/" + std::string(32, '0') + "/", {}, 403, "needs the token"},
      {"the token without its slash", "GET", "/" + token, {}, 403, "needs the token"},
      {"a longer token", "GET", "/" + token + "0/", {}, 403, "needs the token"},
      {"a shorter token", "GET", "/" + token.substr(1) + "/", {}, 403, "needs the token"},
      {"up and out", "GET", base + "../etc/passwd", {}, 404, "no such file"},
      {"up and out, encoded", "GET", base + "%2e%2e/%2e%2e/etc/passwd", {}, 404, "no such file"},
      {"a folder of the page", "GET", base + "view.js/", {}, 404, "no such file"},
      {"a file beside the page", "GET", base + "page/view.js", {}, 404, "no such file"},
      {"out of the requests", "GET", base + "api/../index.html", page, 404, "no such request"},
      {"an unknown request", "GET", base + "api/files", page, 404, "no such request"},
      {"another origin", "GET", base, {{"Origin", "http://evil.example"}}, 403, "another origin"},
      {"another origin's post",
       "POST",
       base + "api/act",
       {{"Origin", "http://127.0.0.1.evil.example:" + port}, {"X-Twinfind-Page", "p"}},
       403,
       "another origin"},
      {"an opaque origin", "GET", base, {{"Origin", "null"}}, 403, "another origin"},
      {"the origin on another port",
       "GET",
       base,
       {{"Origin", "http://127.0.0.1:1"}},
       403,
       "another origin"},
      {"another host", "GET", base, {{"Host", "evil.example:" + port}}, 403, "only requests to"},
      {"another port in the host", "GET", base, {{"Host", "127.0.0.1:1"}}, 403, "only requests to"},
      {"another site", "GET", base, {{"Sec-Fetch-Site", "cross-site"}}, 403, "another site"},
      {"writing the page", "POST", base + "index.html", {}, 405, "only read"},
      {"a request of no page", "POST", base + "api/act", {}, 400, "which page"},
      {"the page", "GET", base, {}, 200, "<title>Twinfind</title>"},
      {"its script, with its own origin",
       "GET",
       base + "view.js",
       {{"Origin", "http://localhost:" + port}},
       200,
       "X-Twinfind-Page"},
      {"the drawing", "GET", base + "api/drawing.svg", page, 200, "<svg"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Page p{view};
    auto client = p.Client();
    const auto answer = c.method == "GET"
                            ? client.Get(c.path.c_str(), c.headers)
                            : client.Post(c.path.c_str(), c.headers, "{}", "application/json");
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->status, c.status);
    EXPECT_NE(answer->body.find(c.says), std::string::npos) << answer->body;
    // Every answer, a refusal too, keeps the page to its own scripts and out of caches.
    EXPECT_NE(answer->get_header_value("Content-Security-Policy").find("script-src 'self'"),
              std::string::npos);
    EXPECT_EQ(answer->get_header_value("Cache-Control"), "no-store");
    EXPECT_EQ(answer->get_header_value("Referrer-Policy"), "no-referrer");
  }
  // A body too large to be a page's request is not read.
  Page p{view, "p"};
  auto client = p.Client();
  const auto big = client.Post((base + "api/act").c_str(), p.Headers(), std::string(2 << 20, ' '),
                               "application/json");
  ASSERT_TRUE(big);
  EXPECT_EQ(big->status, 413);
  // A request of no JSON is refused and changes nothing.
  const auto notJson =
      client.Post((base + "api/act").c_str(), p.Headers(), "range 0 0 1 1", "text/plain");
  ASSERT_TRUE(notJson);
  EXPECT_EQ(notJson->status, 400);
  // It listens on the loopback address alone.
  EXPECT_EQ(view.printed().find("0.0.0.0"), std::string::npos);
}

TEST_F(PlateViewTest, OnePageDrivesTheCommandAndASecondOneIsToldSo) {
  const Page first{view, "first"};
  const Page second{view, "second"};
  EXPECT_EQ(first.Act({{"do", "state"}}).first, 200);
  const auto [status, answer] = second.Act({{"do", "state"}});
  EXPECT_EQ(status, 409);
  EXPECT_EQ(answer["busy"], true);
  EXPECT_NE(answer["error"].get<std::string>().find("Another page is already driving"),
            std::string::npos);
  // The second page's action never reached the command: the first page goes on.
  const auto [again, state] =
      first.Act({{"do", "range"}, {"x1", -20}, {"y1", -20}, {"x2", 440}, {"y2", 280}});
  EXPECT_EQ(again, 200);
  EXPECT_EQ(state["prompt"], "부품형상 범위지시 :");
}

TEST_F(PlateViewTest, TheCommandAndItsDialogTakeThePagesActionsInTurn) {
  const Page page{view};
  json state = page.State({{"do", "state"}});
  EXPECT_EQ(state["prompt"], "검색대상 범위지시(종료버튼:Dialog) :");
  // What the step takes is told by the session, not read off the prompt or the host's bits.
  const auto takes = [](const json& s) { return s["takes"]["step"].get<std::string>(); };
  EXPECT_EQ(takes(state), "range");
  EXPECT_TRUE(state["takes"]["window"]);
  EXPECT_FALSE(state["takes"]["point"]);

  // The end button opens the settings dialog, laid out from its template.
  state = page.State({{"do", "end"}});
  ASSERT_EQ(state["dialogs"].size(), 1u);
  EXPECT_EQ(state["dialogs"][0]["template"], 23000);
  EXPECT_EQ(state["dialogs"][0]["caption"], "동일부품검색");
  EXPECT_EQ(state["dialogs"][0]["width"], 554);
  EXPECT_EQ(state["dialogs"][0]["controls"].size(), 40u);
  const auto control = [](const json& s, int depth, int id) {
    for (const json& c : s["dialogs"][depth]["controls"]) {
      if (c["id"] == id) return c;
    }
    return json();
  };
  EXPECT_EQ(control(state, 0, 12024)["check"], 0);
  EXPECT_EQ(control(state, 0, 12000)["text"], "5.0");

  // While it is open, the command takes nothing else; the state can still be read.
  EXPECT_NE(page.State({{"do", "range"}, {"x1", 0}, {"y1", 0}, {"x2", 1}, {"y2", 1}})["error"]
                .get<std::string>()
                .find("a dialog is open"),
            std::string::npos);
  EXPECT_EQ(page.State({{"do", "state"}})["dialogs"].size(), 1u);
  // An action aimed at a dialog that is not on top is dropped as stale.
  EXPECT_EQ(
      page.Dialog({{"depth", 2}, {"template", 17079}, {"action", "click"}, {"id", 17042}})["stale"],
      true);

  state = page.Dialog({{"depth", 1}, {"template", 23000}, {"action", "click"}, {"id", 12024}});
  EXPECT_EQ(control(state, 0, 12024)["check"], 1);
  state = page.Dialog(
      {{"depth", 1}, {"template", 23000}, {"action", "text"}, {"id", 12000}, {"text", "7.5"}});
  EXPECT_EQ(control(state, 0, 12000)["text"], "7.5");
  // The colour picker stacks over it, with the red frame round the colour chosen.
  state = page.Dialog({{"depth", 1}, {"template", 23000}, {"action", "click"}, {"id", 12010}});
  ASSERT_EQ(state["dialogs"].size(), 2u);
  EXPECT_EQ(state["dialogs"][1]["template"], 17079);
  state = page.Dialog({{"depth", 2}, {"template", 17079}, {"action", "dblclick"}, {"id", 17042}});
  ASSERT_EQ(state["dialogs"].size(), 1u);
  EXPECT_EQ(control(state, 0, 12010)["fills"].back(), "#0000FF");
  // A text the dialog refuses comes back as the dialog's reason.
  state = page.Dialog(
      {{"depth", 1}, {"template", 23000}, {"action", "text"}, {"id", 12016}, {"text", "a\tb"}});
  EXPECT_TRUE(HasLine(state, "refused", "control characters")) << state["lines"].dump();
  state = page.Dialog({{"depth", 1}, {"template", 23000}, {"action", "ok"}});
  EXPECT_TRUE(state["dialogs"].empty());
  EXPECT_FALSE(state["active"]);
  EXPECT_TRUE(HasLine(state, "tool", "ended: the command has ended"));
  const std::string stored = ReadFile(scratch.path() / "s.reg");
  EXPECT_NE(stored.find("\"mIsSymmetry\"=\"1\""), std::string::npos) << stored;
  EXPECT_NE(stored.find("\"mArrangeWidth\"=\"7.5\""), std::string::npos);
  EXPECT_NE(stored.find("\"m_ColorMain\"=\"MAINCOLOR12\""), std::string::npos);

  // Start runs it again with the new settings: the mirrored bracket is found too.
  page.State({{"do", "start"}});
  state = page.State({{"do", "range"}, {"x1", -20}, {"y1", -20}, {"x2", 440}, {"y2", 280}});
  EXPECT_EQ(takes(state), "window");  // the part, though the prompt is another window's
  state = page.State({{"do", "range"}, {"x1", 18}, {"y1", 18}, {"x2", 62}, {"y2", 52}});
  EXPECT_TRUE(HasLine(state, "info", "총 5개의 동일한 부품을 발견하였습니다."));
  EXPECT_EQ(takes(state), "end");  // the confirmation takes the end button alone
  EXPECT_FALSE(state["layers"]["blink"]["svg"].get<std::string>().empty());
  // Motion at the row's place draws the preview in the temporary layer, and only there.
  state = page.State({{"do", "end"}});
  EXPECT_EQ(takes(state), "point");
  EXPECT_TRUE(state["takes"]["point"]);
  const int lasting = state["layers"]["lasting"];
  state = page.State({{"do", "move"}, {"x", 0}, {"y", -90}, {"have", {{"temp", -1}}}});
  EXPECT_NE(state["layers"]["temp"]["svg"].get<std::string>().find("<path"), std::string::npos);
  EXPECT_EQ(state["layers"]["lasting"], lasting);
  state = page.State({{"do", "point"}, {"x", 0}, {"y", -90}});
  EXPECT_GT(state["layers"]["lasting"], lasting);
  EXPECT_LT(state["extent"]["minY"].get<double>(), -80);
  EXPECT_TRUE(state["unsaved"]);
  // The report holds the search so far.
  auto client = page.Client();
  const auto report = client.Get((view.base() + "api/report.json").c_str(), page.Headers());
  ASSERT_TRUE(report);
  const json searches = json::parse(report->body)["searches"];
  ASSERT_EQ(searches.size(), 1u);
  EXPECT_EQ(searches[0]["twins"].size(), 5u);
  EXPECT_NE(report->get_header_value("Content-Disposition").find("attachment"), std::string::npos);
}

// What a page never sends but a request may: a pick before any survey, of no family, of a
// family beyond the list; and the survey itself leaves the drawing as it was.
TEST_F(PlateViewTest, SurveyChangesNothingAndBadPicksAreRefused) {
  const Page page{view};
  json state = page.State({{"do", "pick"}, {"family", 0}});
  EXPECT_FALSE(state["ok"]);
  EXPECT_TRUE(HasLine(state, "refused", "press Survey first")) << state.dump();
  const int lasting = page.State({{"do", "state"}})["layers"]["lasting"];

  state = page.State({{"do", "survey"}});
  ASSERT_TRUE(state["ok"]) << state.dump();
  const json& families = state["survey"]["families"];
  ASSERT_FALSE(families.empty());
  EXPECT_GE(families[0]["count"].get<int>(), 2);
  EXPECT_NE(families[0]["svg"].get<std::string>().find("<path"), std::string::npos);
  // The trial copies of its searches are gone again: the drawing is as it was.
  EXPECT_EQ(state["layers"]["lasting"], lasting);
  EXPECT_FALSE(state["unsaved"]);
  EXPECT_TRUE(state["surveyFresh"]);

  for (const json& family : {json(-1), json(families.size()), json("1"), json(nullptr)}) {
    SCOPED_TRACE(family.dump());
    state = page.State({{"do", "pick"}, {"family", family}});
    EXPECT_FALSE(state["ok"]);
    EXPECT_NE(state["error"].get<std::string>().find("no such family"), std::string::npos)
        << state.dump();
  }
  // The command was not touched by them: it still asks for the search range.
  EXPECT_NE(state["prompt"].get<std::string>().find("검색대상 범위지시"), std::string::npos);
}

TEST_F(PlateViewTest, ALayerSwitchedRedrawsAndStalesTheSurveyButChangesNothingToSave) {
  const Page page{view};
  json state = page.State({{"do", "survey"}});
  ASSERT_TRUE(state["surveyFresh"]) << state.dump();
  const int lasting = state["layers"]["lasting"];
  const json spare = state["drawingLayers"]["list"][4];
  EXPECT_EQ(spare["name"], "SPARE");
  EXPECT_EQ(spare["segments"], 6);
  EXPECT_TRUE(spare["visible"]);
  // Bad switches are refused and change nothing.
  for (const json& bad : {json{{"do", "layer"}, {"layer", "4"}, {"visible", false}},
                          json{{"do", "layer"}, {"layer", 4}, {"visible", 0}},
                          json{{"do", "layer"}, {"layer", 4.5}, {"visible", false}},
                          json{{"do", "layer"}, {"layer", 99}, {"visible", false}}}) {
    SCOPED_TRACE(bad.dump());
    state = page.State(bad);
    EXPECT_FALSE(state["ok"]);
    if (state.contains("layers")) {
      EXPECT_EQ(state["layers"]["lasting"], lasting);
    }
  }
  // SPARE off: drawn anew, listed off, the survey stale, nothing to save.
  state = page.State({{"do", "layer"}, {"layer", 4}, {"visible", false}});
  ASSERT_TRUE(state["ok"]) << state.dump();
  EXPECT_GT(state["layers"]["lasting"].get<int>(), lasting);
  EXPECT_FALSE(state["drawingLayers"]["list"][4]["visible"]);
  EXPECT_FALSE(state["surveyFresh"]);
  EXPECT_FALSE(state["unsaved"]);
  EXPECT_TRUE(HasLine(state, "tool", "layer: 4 SPARE off")) << state["lines"].dump();
}

TEST(ViewServerTest, SaveWritesOnlyTheDxfFileItIsGiven) {
  Scratch scratch;
  fs::copy_file(Plate(), scratch.path() / "plate.dxf");
  std::ofstream(scratch.path() / "theirs.dxf") << "a drawing of the user's own";
  ViewProcess view(scratch.path(), {"plate.dxf", "--settings", "s.reg"});
  ASSERT_TRUE(view.started()) << view.printed();
  const Page page{view};
  struct Case {
    std::string name;
    std::string says;  // empty: saved
    bool replace = false;
  };
  const Case cases[] = {
      {"", "no file to save to"},
      {"notes.txt", "ending in .dxf"},
      {"plate.dxf", "input drawing"},
      {"./plate.dxf", "input drawing"},
      {"missing/out.dxf", "does not exist"},
      {"line\nbreak.dxf", "control characters"},
      // A file the view did not write is replaced only when the user said so.
      {"theirs.dxf", "replaced only if you say so"},
      {"theirs.dxf", "", true},
      {"out.dxf", ""},
      {"out.dxf", ""},  // saved again, over its own file
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    json action = {{"do", "save"}, {"name", c.name}};
    if (c.replace) action["replace"] = true;
    const json state = page.State(action);
    if (c.says.empty()) {
      EXPECT_TRUE(state["ok"]) << state.dump();
      EXPECT_TRUE(HasLine(state, "tool", "wrote " + c.name + ": 51 entities kept"));
      EXPECT_EQ(state["out"], c.name);
    } else {
      EXPECT_FALSE(state["ok"]);
      EXPECT_NE(state["error"].get<std::string>().find(c.says), std::string::npos)
          << state["error"];
      if (c.name == "theirs.dxf") {
        EXPECT_EQ(state["confirm"]["replace"], c.name);
      }
    }
  }
  EXPECT_EQ(ReadFile(scratch.path() / "out.dxf"), ReadFile(Plate()));
  EXPECT_EQ(ReadFile(scratch.path() / "theirs.dxf"), ReadFile(Plate()));
  auto client = page.Client();
  client.Post((view.base() + "api/quit").c_str(), page.Headers(), "{}", "application/json");
  EXPECT_EQ(view.Wait(10s), 0);
  // Nothing but the output it was given and the settings file it was pointed at.
  EXPECT_EQ(scratch.Files(),
            (std::vector<std::string>{"out.dxf", "plate.dxf", "s.reg", "theirs.dxf"}));
}

// Stopped from the page or by idleness, a change never saved is told; stopped by a signal (a
// closed terminal too), it is kept beside the drawing and the file named.
TEST(ViewServerTest, StopsOnQuitAfterTheIdleTimeAndOnSignalsAndSaysWhy) {
  enum class How { kQuit, kIdle, kInterrupt, kTerminate, kHangUp };
  const std::pair<How, std::string> cases[] = {{How::kQuit, "stopped: quit in the page"},
                                               {How::kIdle, "stopped: idle for 1 seconds"},
                                               {How::kInterrupt, "stopped: interrupted"},
                                               {How::kTerminate, "stopped: terminated"},
                                               {How::kHangUp, "stopped: the terminal was closed"}};
  for (const auto& [how, says] : cases) {
    SCOPED_TRACE(says);
    Scratch scratch;
    fs::copy_file(Plate(), scratch.path() / "plate.dxf");
    std::vector<std::string> args = {(scratch.path() / "plate.dxf").string(), "--settings",
                                     "s.reg"};
    if (how == How::kIdle) args.insert(args.end(), {"--idle", "1"});
    ViewProcess view(scratch.path(), args);
    ASSERT_TRUE(view.started()) << view.printed();
    const Page page{view};
    // A change that is never saved is told when it stops.
    page.State({{"do", "range"}, {"x1", -20}, {"y1", -20}, {"x2", 440}, {"y2", 280}});
    page.State({{"do", "range"}, {"x1", 18}, {"y1", 18}, {"x2", 62}, {"y2", 52}});
    page.State({{"do", "end"}});
    page.State({{"do", "point"}, {"x", 0}, {"y", -90}});
    if (how == How::kQuit) {
      auto client = page.Client();
      ASSERT_TRUE(client.Post((view.base() + "api/quit").c_str(), page.Headers(), "{}",
                              "application/json"));
    } else if (how == How::kInterrupt) {
      view.Signal(SIGINT);
    } else if (how != How::kIdle) {
      view.Signal(how == How::kInterrupt ? SIGINT : how == How::kTerminate ? SIGTERM : SIGHUP);
    }
    const bool signalled = how != How::kQuit && how != How::kIdle;
    const std::optional<int> status = view.Wait(15s);
    EXPECT_NE(view.printed().find(says), std::string::npos) << view.printed();
    if (!signalled) {
      EXPECT_EQ(status, 0);
      EXPECT_NE(view.printed().find("changes were not saved"), std::string::npos);
      EXPECT_EQ(scratch.Files(), (std::vector<std::string>{"plate.dxf", "s.reg"}));
      continue;
    }
    EXPECT_EQ(status, how == How::kInterrupt ? 130 : how == How::kTerminate ? 143 : 129);
    const fs::path rescue = scratch.path() / "plate.dxf.rescue-1";
    EXPECT_NE(view.printed().find("the changes were saved as " + rescue.string()),
              std::string::npos)
        << view.printed();
    EXPECT_EQ(scratch.Files(),
              (std::vector<std::string>{"plate.dxf", "plate.dxf.rescue-1", "s.reg"}));
    // The rescue holds the row the run laid out: more entities than the drawing read.
    EXPECT_GT(ReadFile(rescue).size(), ReadFile(Plate()).size());
  }
}

TEST(ViewServerTest, BadArgumentsAndATakenPortAreRefusedBeforeAnythingIsServed) {
  Scratch scratch;
  ViewProcess holder(scratch.path(), {"--settings", "s.reg"});
  ASSERT_TRUE(holder.started());
  const std::pair<std::vector<std::string>, std::pair<int, std::string>> cases[] = {
      {{"--port", "70000"}, {2, "--port"}},
      {{"a.dxf", "b.dxf"}, {2, "DRAWING"}},
      {{"missing.dxf"}, {2, "cannot read the drawing"}},
      {{"--out", "missing/out.dxf"}, {2, "does not exist"}},
      {{"--out", "."}, {2, "it is a directory"}},
      {{"--idle", "0"}, {2, "--idle"}},
      {{"--port", std::to_string(holder.port())}, {1, "cannot listen"}},
  };
  for (const auto& [args, expected] : cases) {
    SCOPED_TRACE(expected.second);
    std::vector<std::string> all = args;
    all.insert(all.end(), {"--settings", "s.reg"});
    ViewProcess view(scratch.path(), all);
    EXPECT_FALSE(view.started());
    EXPECT_EQ(view.Wait(10s), expected.first);
    EXPECT_NE(view.printed().find(expected.second), std::string::npos) << view.printed();
  }
}

}  // namespace
}  // namespace viewtest
