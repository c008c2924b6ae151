// The real Win32 host: native controls show the models, and native
// notifications, mouse and keys become model updates and exactly one event each.
#include <functional>
#include <map>

#include "host_fixture.h"
#include "ui/controls.h"

namespace qel::test {
namespace {

using Events = std::map<std::string, int>;

class HostTestWindow : public ui::Window {
 public:
  HostTestWindow() : ui::Window("HostTestWindow") {
    clientWidth = 11760;
    clientHeight = 6360;
    SetCaption("\xC8\xB7\x20\x20\xC8\xCF test");  // GBK bytes reach the window as they are
    memo.multiLine = true;
    label.foreColor = ui::Color::Rgb(0, 0, 255);
    memo.tooltip = "\xD0\xDE\xB8\xC4";
    cancel.isCancel = true;
    off.SetEnabled(false);
    hidden.SetVisible(false);
    report.SetColumns({{"Name", 1500}, {"Id", 900}});
    ok.tabIndex = 0, marks.tabIndex = 1, line.tabIndex = 2;  // the host sorts the stops
    for (ui::Control* c : controls()) {
      std::string name = c->name();
      c->Click = [this, name] { ++events[name + ".Click"]; };
      c->Change = [this, name] { ++events[name + ".Change"]; };
    }
  }
  void Form_Load() override {
    for (const char* row : {"alpha", "beta", "gamma", "delta"})
      for (ui::ListBox* list : {&marks, &plain, &hidden}) list->AddItem(row);
    marks.SetSelected(1, true);
    hidden.SetSelected(2, true);
    visibleDuringLoad = IsWindowVisible(FindWindowA(nullptr, caption().c_str()));
    if (onLoad) onLoad();
  }
  void Form_Unload() override { ++unloads; }

  ui::ListBox marks{*this, "Marks", nullptr, {120, 360, 3375, 2370}, /*checkBoxes=*/true};
  ui::ListBox plain{*this, "Plain", nullptr, {4800, 360, 3000, 2400}};
  ui::ListView report{*this, "Report", nullptr, {8040, 360, 3600, 2400}};
  ui::TextBox line{*this, "Line", nullptr, {120, 3000, 3375, 375}};
  ui::TextBox memo{*this, "Memo", nullptr, {120, 4440, 7680, 615}};
  ui::Label label{*this, "Label", nullptr, {120, 5160, 3000, 255}};
  ui::CheckBox check{*this, "Check", nullptr, {3240, 5160, 1815, 420}};
  ui::Button off{*this, "Off", nullptr, {4200, 5760, 975, 375}};
  ui::Button cancel{*this, "Cancel", nullptr, {5400, 5760, 975, 375}};
  ui::ListBox hidden{*this, "Hidden", nullptr, {0, 0, 975, 375}, /*checkBoxes=*/true};
  ui::Button ok{*this, "Ok", nullptr, {6600, 5760, 975, 375}};
  Events events;
  int unloads = 0;
  bool visibleDuringLoad = true;
  std::function<void()> onLoad;
};

class HostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host.Open(window);
    host.DoEvents();
    window.events.clear();  // what loading raised is not under test here
  }
  void TearDown() override { host.Close(window); }
  HWND Native(const ui::Control& control) const { return host.NativeControl(control); }
  HWND Top() const { return host.NativeWindow(window); }

  win32::Win32Host host{GetModuleHandleA(nullptr)};
  HostTestWindow window;
};

TEST_F(HostTest, ModelsBecomeNativeControlsInPixelsWithTheirFontColoursAndTooltips) {
  HDC dc = CreateCompatibleDC(nullptr);
  RECT memo;
  GetWindowRect(Native(window.memo), &memo);
  EXPECT_EQ(memo.bottom - memo.top, MulDiv(615, GetDeviceCaps(dc, LOGPIXELSY), 1440));
  EXPECT_FALSE(IsWindowEnabled(Native(window.off)));
  LOGFONTA font = {};
  GetObjectA(HFONT(SendMessageA(Native(window.label), WM_GETFONT, 0, 0)), sizeof font, &font);
  EXPECT_EQ(font.lfCharSet, GB2312_CHARSET);
  SendMessageA(Top(), WM_CTLCOLORSTATIC, WPARAM(dc), LPARAM(Native(window.label)));
  EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 255));
  DeleteDC(dc);
  EXPECT_EQ(SendMessageA(FindWindowA(TOOLTIPS_CLASSA, nullptr), TTM_GETTOOLCOUNT, 0, 0), 1);
}

TEST_F(HostTest, FormLoadFillsTheControlsBeforeTheWindowShowsAndAHiddenListWhenShown) {
  EXPECT_FALSE(window.visibleDuringLoad);
  EXPECT_TRUE(ListViewChecked(Native(window.marks), 1));
  HWND hidden = Native(window.hidden);
  window.hidden.AddItem("epsilon");
  EXPECT_EQ(ListViewCount(hidden), 0);
  window.hidden.SetVisible(true);
  ASSERT_EQ(ListViewCount(hidden), 5);
  EXPECT_EQ(ListViewText(hidden, 4), "epsilon");
  EXPECT_TRUE(ListViewChecked(hidden, 2));
}

TEST_F(HostTest, ListsFollowEveryRowChangeOfTheirModelsAndRaiseNothing) {
  for (bool listView : {true, false}) {
    SCOPED_TRACE(listView ? "check list" : "plain list");
    ui::ListBox& model = listView ? window.marks : window.plain;
    HWND list = Native(model);
    auto text = [&](int r) { return listView ? ListViewText(list, r) : ListBoxText(list, r); };
    auto count = [&] {
      return SendMessageA(list, listView ? LVM_GETITEMCOUNT : LB_GETCOUNT, 0, 0);
    };
    auto current = [&] {  // a list box ignores the arguments
      return SendMessageA(list, listView ? LVM_GETNEXTITEM : LB_GETCURSEL, WPARAM(-1),
                          LVNI_SELECTED);
    };
    model.SetListIndex(3);
    model.SetListIndex(-1);
    EXPECT_EQ(current(), -1);
    model.SetListIndex(3);
    model.SetList(3, "GAMMA");
    EXPECT_EQ(text(3), "GAMMA");
    model.AddItem("epsilon");
    ASSERT_EQ(count(), 5);
    EXPECT_EQ(text(4), "epsilon");
    model.SetSelected(3, true);
    model.SetSelected(1, false);
    EXPECT_TRUE(!listView || (ListViewChecked(list, 3) && !ListViewChecked(list, 1)));
    model.RemoveItem(0);
    ASSERT_EQ(count(), 4);
    EXPECT_EQ(text(0), "beta");
    EXPECT_EQ(current(), 2) << "the current row moved with its row";
    model.RemoveItem(2);  // the current row itself: none is current
    EXPECT_EQ(current(), -1);
    model.AddItem("zeta");
    EXPECT_EQ(text(3), "zeta");
    model.SetListIndex(4);  // past the end: none
    EXPECT_EQ(model.ListIndex(), -1);
    model.Clear();
    model.AddItem("again");
    EXPECT_EQ(count(), 1);
  }
  window.marks.AddItems({"x", "y"}, {false, true});
  ASSERT_EQ(ListViewCount(Native(window.marks)), 3);
  EXPECT_TRUE(ListViewChecked(Native(window.marks), 2));
  EXPECT_TRUE(window.events.empty());
}

TEST_F(HostTest, PropertyChangesReachTheNativeControlsAndRaiseOnlyTheModelsOwnEvent) {
  window.ok.SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(Native(window.ok)));
  window.check.SetValue(1);
  EXPECT_EQ(SendMessageA(Native(window.check), BM_GETCHECK, 0, 0), BST_CHECKED);
  window.label.SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(Native(window.label)));
  window.report.AddRow({"c.exe", "3"});
  EXPECT_EQ(ListViewText(Native(window.report), 0, 1), "3");
  window.memo.SetText("first\r\nsecond");
  EXPECT_EQ(TextOf(Native(window.memo)), "first\r\nsecond");
  EXPECT_EQ(window.events, (Events{{"Memo.Change", 1}}));
}

TEST_F(HostTest, MarksToggledBySystemOrSpaceAndMouseClicksUpdateTheModelAndClickOnceEach) {
  HWND marks = Native(window.marks);
  ListViewSetState(marks, 2, INDEXTOSTATEIMAGEMASK(2), LVIS_STATEIMAGEMASK);
  EXPECT_TRUE(window.marks.Selected(2));
  ListViewSetState(marks, 1, INDEXTOSTATEIMAGEMASK(1), LVIS_STATEIMAGEMASK);
  EXPECT_FALSE(window.marks.Selected(1));
  EXPECT_EQ(window.marks.ListIndex(), 1);
  SetFocus(marks);
  PressKey(host, VK_SPACE);
  // A mouse click on the current row clicks again, on empty space it does not.
  for (bool listView : {true, false}) {
    ui::ListBox& model = listView ? window.marks : window.plain;
    HWND list = Native(model);
    RECT row = {LVIR_LABEL, 0, 0, 0}, client;
    SendMessageA(list, listView ? LVM_GETITEMRECT : LB_GETITEMRECT, 2, LPARAM(&row));
    GetClientRect(list, &client);
    for (int i = 0; i < 2; ++i)
      Click(list, {(row.left + row.right) / 2, (row.top + row.bottom) / 2});
    Click(list, {client.right / 2, client.bottom - 3});
    EXPECT_EQ(model.ListIndex(), 2);
  }
  EXPECT_EQ(window.events, (Events{{"Marks.Click", 5}, {"Plain.Click", 2}}));
}

TEST_F(HostTest, TypingUpdatesTheModelOnceLeavesTheCaretAloneAndShowsAHandlersRewrite) {
  HWND memo = Native(window.memo);
  SendMessageA(memo, EM_REPLACESEL, TRUE, LPARAM("hello"));
  // Rewriting the text would have put the caret back to 0.
  EXPECT_EQ(HIWORD(SendMessageA(memo, EM_GETSEL, 0, 0)), 5);
  auto counted = window.line.Change;  // a handler that rewrites what was typed
  window.line.Change = [&] {
    counted();
    window.line.SetText("ABC");
  };
  SendMessageA(Native(window.line), WM_SETTEXT, 0, LPARAM("abc"));
  EXPECT_EQ(TextOf(Native(window.line)), "ABC");
  EXPECT_EQ(window.events, (Events{{"Line.Change", 2}, {"Memo.Change", 1}}));
}

TEST_F(HostTest, ButtonsAndKeysClickWhatIsEnabled) {
  SendMessageA(Native(window.check), BM_CLICK, 0, 0);
  EXPECT_EQ(window.check.value(), 1);
  SendMessageA(Native(window.off), BM_CLICK, 0, 0);
  SetFocus(Native(window.ok));
  PressKey(host, VK_RETURN);
  PressKey(host, VK_TAB);
  EXPECT_EQ(GetFocus(), Native(window.marks));
  SetFocus(Native(window.memo));
  PressKey(host, VK_ESCAPE);  // the cancel button, while enabled
  window.cancel.SetEnabled(false);
  PressKey(host, VK_ESCAPE);
  EXPECT_EQ(window.events, (Events{{"Cancel.Click", 1}, {"Check.Click", 1}, {"Ok.Click", 1}}));
}

TEST_F(HostTest, ModalWindowDisablesItsOwnerAndAHandlerMayUnloadItsWindow) {
  HostTestWindow dialog;
  bool ownerEnabled = true;
  dialog.onLoad = [&] {
    ownerEnabled = IsWindowEnabled(Top());
    PostMessageA(host.NativeWindow(dialog), WM_CLOSE, 0,
                 0);  // from the queue, so the modal loop runs
  };
  window.ok.Click = [&] { host.ShowModal(dialog); };
  SendMessageA(Native(window.ok), BM_CLICK, 0, 0);
  EXPECT_EQ(dialog.unloads, 1);
  EXPECT_FALSE(ownerEnabled);
  EXPECT_TRUE(IsWindowEnabled(Top()));
  HWND top = Top();
  window.cancel.Click = [this] {
    host.Unload(window), window.label.SetText("no window to show it");
  };
  SendMessageA(Native(window.cancel), BM_CLICK, 0, 0);
  EXPECT_FALSE(IsWindow(top));
  EXPECT_EQ(window.unloads, 1);
}

}  // namespace
}  // namespace qel::test
