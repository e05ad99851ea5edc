// The dialog layer under the dialogs: data exchange rules, radio groups, lists, images,
// painting, keys, and the life of a modal run, on a probe dialog over the settings template.
#include <functional>

#include "ui/dialog.h"
#include "ui/message_map.h"
#include "ui_fixture.h"

namespace {

using namespace twinfind::ui;

// A dialog whose initialisation, data exchange and commands a test supplies.
class ProbeDialog : public Dialog {
 public:
  explicit ProbeDialog(int templateId = kSettingsDialogId) : Dialog(templateId) {}
  std::function<void(ProbeDialog&)> onInit;
  std::function<void(ProbeDialog&, DataExchange&)> onExchange;
  std::vector<std::pair<int, int>> commands;  // every notification, in order
  int method = -1;
  int figure = -1;
  int flag = 0;
  std::u16string text;
  ComboBox list;

  using Dialog::Window;

 protected:
  bool OnInitDialog() override {
    const bool focus = Dialog::OnInitDialog();
    if (onInit) onInit(*this);
    return focus;
  }
  void DoDataExchange(DataExchange& dx) override {
    if (onExchange) onExchange(*this, dx);
  }
  bool OnCommand(int id, int code) override {
    commands.emplace_back(id, code);
    return false;
  }
};

class DialogLayerTest : public uitest::DialogTest {};

TEST_F(DialogLayerTest, ARadioGroupGivesTheIndexOfItsSelectedButtonOrMinusOne) {
  ProbeDialog d;
  d.onExchange = [](ProbeDialog& p, DataExchange& dx) {
    DDX_Radio(dx, 12012, p.method);  // 12012, 12013: the group ends at the next group start
    DDX_Radio(dx, 12002, p.figure);  // 12002, 12003, 12004
  };
  d.onInit = [](ProbeDialog& p) {
    // Towards the controls: -1 clears the whole group.
    EXPECT_EQ(p.IsDlgButtonChecked(12012) + p.IsDlgButtonChecked(12013), 0);
    p.method = 1;
    p.figure = 2;
    p.UpdateData(false);
    EXPECT_EQ(p.IsDlgButtonChecked(12013), 1);
    EXPECT_EQ(p.IsDlgButtonChecked(12004), 1);
    p.CheckRadioButton(12012, 12013, 12012);
    p.CheckDlgButton(12004, 0);
    p.UpdateData(true);
    EXPECT_EQ(p.method, 0);
    EXPECT_EQ(p.figure, -1);
    p.EndDialog(IDOK);
  };
  EXPECT_EQ(d.DoModal(), IDOK);
}

TEST_F(DialogLayerTest, AClickOnARadioButtonClearsOnlyItsOwnGroup) {
  ProbeDialog d;
  d.onInit = [](ProbeDialog& p) {
    p.CheckDlgButton(12012, 1);
    p.CheckDlgButton(12002, 1);
  };
  Actions({u"click 12013", u"click 12004", u"cancel"});
  ASSERT_EQ(d.DoModal(), IDCANCEL);
  EXPECT_EQ(Last(12012).check, 0);
  EXPECT_EQ(Last(12013).check, 1);
  EXPECT_EQ(Last(12002).check, 0);
  EXPECT_EQ(Last(12004).check, 1);
  EXPECT_EQ(d.commands, (std::vector<std::pair<int, int>>{
                            {12013, BN_CLICKED}, {12004, BN_CLICKED}, {IDCANCEL, BN_CLICKED}}));
}

TEST_F(DialogLayerTest, ACheckBoxGivesOneOrZeroAndAnEditBoxItsTextUnchanged) {
  ProbeDialog d;
  d.flag = 7;  // any non-zero value ticks the box
  d.text = u"  keep  me ";
  d.onExchange = [](ProbeDialog& p, DataExchange& dx) {
    DDX_Check(dx, 12007, p.flag);
    DDX_Text(dx, 12018, p.text);
  };
  Actions({u"text 12018 ", u"ok"});
  ASSERT_EQ(d.DoModal(), IDOK);
  EXPECT_EQ(First(12007).check, 1);
  EXPECT_EQ(First(12018).text, u"  keep  me ");
  EXPECT_EQ(d.flag, 1);
  EXPECT_EQ(d.text, u"");  // an emptied box gives an empty text
}

TEST_F(DialogLayerTest, ASortedListKeepsItsEntriesInOrderAndRefusesIndexesOutsideThem) {
  ProbeDialog d;
  d.onExchange = [](ProbeDialog& p, DataExchange& dx) { DDX_Control(dx, 12022, p.list); };
  d.onInit = [](ProbeDialog& p) {
    EXPECT_EQ(p.list.AddString(u"b"), 0);
    EXPECT_EQ(p.list.AddString(u"C"), 1);
    EXPECT_EQ(p.list.AddString(u"a"), 0);
    EXPECT_EQ(p.list.SetCurSel(1), 1);
    EXPECT_EQ(p.list.GetCurSel(), 1);
    EXPECT_EQ(p.list.SetCurSel(3), CB_ERR);
    EXPECT_EQ(p.list.GetCurSel(), CB_ERR);
  };
  Actions({u"select 12022 2", u"cancel"});
  ASSERT_EQ(d.DoModal(), IDCANCEL);
  EXPECT_EQ(Last(12022).entries, (std::vector<std::u16string>{u"a", u"b", u"C"}));
  EXPECT_EQ(Last(12022).curSel, 2);
  EXPECT_EQ(d.commands.front(), (std::pair<int, int>{12022, CBN_SELCHANGE}));
  // Once the run is over the control object is free again and answers as empty.
  EXPECT_FALSE(d.list.IsBound());
  EXPECT_EQ(d.list.GetCurSel(), CB_ERR);
}

TEST_F(DialogLayerTest, ABitmapControlHandsBackTheImageItReplacedAndTakesTheNewOnesSize) {
  ProbeDialog d;
  d.onInit = [](ProbeDialog& p) {
    EXPECT_EQ(p.GetDlgItemRect(12011).Width(),
              DialogUnitsToPixelsX(258 + 16) - DialogUnitsToPixelsX(258));
    EXPECT_EQ(p.SetDlgItemImage(12011, LoadBitmapResource(17050)), nullptr);
    auto previous = p.SetDlgItemImage(12011, LoadBitmapResource(17052));
    ASSERT_NE(previous, nullptr);
    EXPECT_EQ(previous->resourceId, 17050);
    EXPECT_EQ(p.GetDlgItemRect(12011).Width(), 64);
    EXPECT_EQ(p.GetDlgItemClientRect(12011), (PixelRect{0, 0, 62, 23}));
    // A control of another kind takes no image: it comes straight back.
    auto refused = p.SetDlgItemImage(12007, LoadBitmapResource(17046));
    ASSERT_NE(refused, nullptr);
    EXPECT_EQ(refused->resourceId, 17046);
  };
  Actions({u"cancel"});
  ASSERT_EQ(d.DoModal(), IDCANCEL);
  EXPECT_EQ(First(12011).image->resourceId, 17052);
}

TEST_F(DialogLayerTest, InvalidationRepaintsOnceAndRemembersAPendingErase) {
  struct Repainter : ProbeDialog {
    bool OnCommand(int id, int code) override {
      if (id == 12007) Invalidate(false);
      if (id == 12008) {
        Invalidate(true);
        Invalidate(false);  // the erase asked for first still happens
      }
      return ProbeDialog::OnCommand(id, code);
    }
  } r;
  Actions({u"click 12006", u"click 12007", u"click 12008", u"cancel"});
  ASSERT_EQ(r.DoModal(), IDCANCEL);
  ASSERT_EQ(snapshots.size(), 4u);
  EXPECT_EQ(snapshots[0].paintCount, 1);
  EXPECT_TRUE(snapshots[0].lastPaintErased);
  EXPECT_EQ(snapshots[1].paintCount, 1);  // nothing invalidated
  EXPECT_EQ(snapshots[2].paintCount, 2);
  EXPECT_FALSE(snapshots[2].lastPaintErased);
  EXPECT_EQ(snapshots[3].paintCount, 3);
  EXPECT_TRUE(snapshots[3].lastPaintErased);
}

TEST_F(DialogLayerTest, TheFrameworkKeysEnterEscapeAndSpace) {
  ProbeDialog d;
  // Space clicks the focused button; a click on a box moves the focus to it.
  Actions({u"key space", u"click 12001", u"key space", u"key 65", u"key enter"});
  ASSERT_EQ(d.DoModal(), IDOK);
  EXPECT_EQ(snapshots.front().focusId, 12000);  // the first tab stop
  EXPECT_EQ(d.commands, (std::vector<std::pair<int, int>>{
                            {12001, BN_CLICKED}, {12001, BN_CLICKED}, {IDOK, BN_CLICKED}}));
  ProbeDialog e;
  Actions({u"key escape"});
  EXPECT_EQ(e.DoModal(), IDCANCEL);
}

TEST_F(DialogLayerTest, DoubleClicksSendWhatEachKindOfControlSends) {
  ProbeDialog d;
  Actions({u"dblclick 12007", u"dblclick 12003", u"dblclick 12010", u"dblclick 12016", u"cancel"});
  ASSERT_EQ(d.DoModal(), IDCANCEL);
  EXPECT_EQ(d.commands, (std::vector<std::pair<int, int>>{{12007, BN_CLICKED},
                                                          {12007, BN_CLICKED},
                                                          {12003, BN_CLICKED},
                                                          {12003, BN_DOUBLECLICKED},
                                                          {12010, STN_CLICKED},
                                                          {12010, STN_DBLCLK},
                                                          {IDCANCEL, BN_CLICKED}}));
  EXPECT_EQ(Last(12007).check, 0);  // ticked and cleared again
  EXPECT_EQ(Last(12003).check, 1);
}

TEST_F(DialogLayerTest, UnknownIdsAndClosedDialogsAreHarmless) {
  ProbeDialog d;
  EXPECT_EQ(d.IsDlgButtonChecked(12007), 0);  // not open yet
  d.SetDlgItemText(12016, u"x");
  d.onInit = [](ProbeDialog& p) {
    p.SetDlgItemText(4242, u"nothing");
    p.CheckDlgButton(12016, 1);  // an edit box has no check
    EXPECT_EQ(p.GetDlgItemText(4242), u"");
    EXPECT_EQ(p.GetDlgItemText(-1), u"");  // labels have no id to reach them by
    EXPECT_EQ(p.IsDlgButtonChecked(12016), 0);
    EXPECT_EQ(p.ComboAddString(12016, u"x"), CB_ERR);
    EXPECT_EQ(p.GetDlgItemRect(4242), PixelRect{});
  };
  Actions({u"cancel"});
  EXPECT_EQ(d.DoModal(), IDCANCEL);
  EXPECT_EQ(d.Window(), nullptr);
}

TEST_F(DialogLayerTest, ADialogWithoutATemplateDoesNotOpen) {
  ProbeDialog d(4711);
  Actions({u"ok"});
  EXPECT_EQ(d.DoModal(), -1);
  EXPECT_TRUE(Shown().empty());
  EXPECT_EQ(vexhost::TheHost().dialogInput.pending(), 1u);
}

TEST_F(DialogLayerTest, WhenNoActionComesTheDialogEndsCancelledAndCanOpenAgain) {
  ProbeDialog d;
  d.onExchange = [](ProbeDialog& p, DataExchange& dx) { DDX_Control(dx, 12022, p.list); };
  EXPECT_EQ(d.DoModal(), IDCANCEL);
  EXPECT_EQ(Shown().back(), u"== 동일부품검색 closed, cancelled ==");
  Actions({u"ok"});
  EXPECT_EQ(d.DoModal(), IDOK);  // bound again in the second run
  EXPECT_FALSE(d.list.IsBound());
}

struct MapProbe {
  std::vector<int> seen;
  void One() { seen.push_back(-1); }
  void Range(int id) { seen.push_back(id); }
};

TEST(MessageMap, TheFirstMatchingEntryRunsAndRangesGetTheId) {
  const std::array<MessageMapEntry<MapProbe>, 3> map{{
      OnBnClicked(5, &MapProbe::One),
      OnControlRange(BN_CLICKED, 3, 9, &MapProbe::Range),
      OnControlRange(STN_DBLCLK, 3, 9, &MapProbe::Range),
  }};
  MapProbe probe;
  EXPECT_TRUE(DispatchMessageMap(probe, map, 5, BN_CLICKED));
  EXPECT_TRUE(DispatchMessageMap(probe, map, 9, BN_CLICKED));
  EXPECT_TRUE(DispatchMessageMap(probe, map, 3, STN_DBLCLK));
  EXPECT_FALSE(DispatchMessageMap(probe, map, 10, BN_CLICKED));
  EXPECT_FALSE(DispatchMessageMap(probe, map, 5, CBN_SELCHANGE + 10));
  EXPECT_EQ(probe.seen, (std::vector<int>{-1, 9, 3}));
}

}  // namespace
