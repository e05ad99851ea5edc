// The action lines of a text-mode dialog: what each means, what is refused and why, and that a
// refused action changes nothing.
#include "ui/headless/dialog_action.h"
#include "ui/twinfind_dlg.h"
#include "ui_fixture.h"

namespace {

using twinfind::ui::DialogAction;
using twinfind::ui::ParseDialogAction;
using Verb = DialogAction::Verb;

TEST(DialogActionParse, EachVerbWithItsArguments) {
  auto a = ParseDialogAction(u"click 12007");
  ASSERT_TRUE(a.action);
  EXPECT_EQ(a.action->verb, Verb::kClick);
  EXPECT_EQ(a.action->id, 12007);

  a = ParseDialogAction(u"  DblClick   17046  ");
  ASSERT_TRUE(a.action);
  EXPECT_EQ(a.action->verb, Verb::kDoubleClick);
  EXPECT_EQ(a.action->id, 17046);

  // The rest of the line after one blank is the text, blanks included.
  a = ParseDialogAction(u"text 12018  T = ");
  ASSERT_TRUE(a.action);
  EXPECT_EQ(a.action->verb, Verb::kText);
  EXPECT_EQ(a.action->text, u" T = ");
  a = ParseDialogAction(u"text 12018");
  ASSERT_TRUE(a.action);
  EXPECT_EQ(a.action->text, u"");

  a = ParseDialogAction(u"select 12022 2");
  ASSERT_TRUE(a.action);
  EXPECT_EQ(a.action->number, 2);

  for (const auto& [line, code] : std::vector<std::pair<std::u16string, int>>{
           {u"key enter", 13}, {u"key SPACE", 32}, {u"key escape", 27}, {u"key 65", 65}}) {
    a = ParseDialogAction(line);
    ASSERT_TRUE(a.action);
    EXPECT_EQ(a.action->verb, Verb::kKey);
    EXPECT_EQ(a.action->number, code);
  }
  EXPECT_EQ(ParseDialogAction(u"ok").action->verb, Verb::kOk);
  EXPECT_EQ(ParseDialogAction(u"cancel").action->verb, Verb::kCancel);
  a = ParseDialogAction(u"picture out/my dialog.png");
  ASSERT_TRUE(a.action);
  EXPECT_EQ(a.action->text, u"out/my dialog.png");
}

TEST(DialogActionParse, MalformedLinesAreRefusedWithAReason) {
  const std::vector<std::pair<std::u16string, std::u16string>> cases = {
      {u"", u"an empty action"},
      {u"press 12007", u"unknown action 'press'"},
      {u"click", u"click needs one control id"},
      {u"click twelve", u"click needs one control id"},
      {u"click 12007 12008", u"click needs one control id"},
      {u"click 99999999999", u"click needs one control id"},
      {u"dblclick 1.5", u"dblclick needs one control id"},
      {u"text abc def", u"text needs a control id"},
      {u"select 12022", u"select needs a control id and an entry index"},
      {u"select 12022 x", u"select needs a control id and an entry index"},
      {u"key", u"key needs enter, space, escape"},
      {u"key 0", u"key needs enter, space, escape"},
      {u"key 256", u"key needs enter, space, escape"},
      {u"key enter now", u"key needs enter, space, escape"},
      {u"ok now", u"ok takes nothing after it"},
      {u"cancel 1", u"cancel takes nothing after it"},
      {u"picture", u"picture needs a file name"},
      {u"picture   ", u"picture needs a file name"},
  };
  for (const auto& [line, reason] : cases) {
    const auto parsed = ParseDialogAction(line);
    EXPECT_FALSE(parsed.action) << std::string(line.begin(), line.end());
    EXPECT_EQ(parsed.error.rfind(reason, 0), 0u)
        << std::string(parsed.error.begin(), parsed.error.end());
  }
}

class RefusedActionTest : public uitest::DialogTest {};

TEST_F(RefusedActionTest, ImpossibleActionsAreAnsweredAndChangeNothing) {
  StoreDefaults();
  twinfind::ui::TwinfindDlg dialog;
  const std::vector<std::pair<std::u16string, std::u16string>> refused = {
      {u"click 4242", u"this dialog has no control 4242"},
      {u"click -1", u"this dialog has no control -1"},
      {u"text 12007 x", u"only an edit box takes a text"},
      {u"text 12016 a\tb", u"a text cannot hold control characters"},
      {u"select 12016 0", u"only a list has entries to select"},
      {u"select 12022 3", u"the list has no entry with that index"},
      {u"select 12022 -1", u"the list has no entry with that index"},
      {u"picture /no/such/folder/d.svg", u"cannot write /no/such/folder/d.svg"},
      {u"frobnicate", u"unknown action 'frobnicate'"},
  };
  for (const auto& [line, why] : refused) Actions({line});
  Actions({u"key 65", u"ok"});  // a key that does nothing, to see the dialog once more
  ASSERT_EQ(dialog.DoModal(), twinfind::ui::IDOK);
  // The refused actions were not followed by a new showing, and left the dialog as it was.
  ASSERT_EQ(snapshots.size(), 2u);
  for (size_t i = 1; i < snapshots.size(); ++i) {
    EXPECT_EQ(snapshots[i].paintCount, 1);
    EXPECT_EQ(snapshots[i].focusId, 12000);
    for (size_t c = 0; c < snapshots[i].controls.size(); ++c) {
      EXPECT_EQ(snapshots[i].controls[c].text, snapshots[0].controls[c].text);
      EXPECT_EQ(snapshots[i].controls[c].check, snapshots[0].controls[c].check);
      EXPECT_EQ(snapshots[i].controls[c].curSel, snapshots[0].controls[c].curSel);
    }
  }
  const auto shown = Shown();
  for (const auto& [line, why] : refused) {
    const std::u16string expected = u"refused \"" + line + u"\": " + why;
    EXPECT_TRUE(std::any_of(shown.begin(), shown.end(), [&](const std::u16string& s) {
      return s.rfind(expected, 0) == 0;
    })) << std::string(line.begin(), line.end());
  }
}

}  // namespace
