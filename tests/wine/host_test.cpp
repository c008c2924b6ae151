// The real Win32 host: native controls show the models, and native
// notifications, mouse and keys become model updates and exactly one event each.
// (The program's own windows are driven on the real host by the end-to-end runs.)
// commctrl.h needs windows.h before it.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <gtest/gtest.h>

#include <map>

#include "platform/memory/memory_platform.h"
#include "platform/win32/win32_platform.h"
#include "process/form5.h"
#include "ui/controls.h"
#include "ui/win32/win32_host.h"

namespace qel::test {
namespace {

using Rows = std::vector<std::string>;

std::string TextOf(HWND hwnd) {
  char buffer[1024] = {};
  GetWindowTextA(hwnd, buffer, sizeof buffer);
  return buffer;
}

// The rows a list box shows, or one column of a list view's.
Rows RowsOf(HWND list, int column = 0) {
  char kind[16] = {}, text[1024];
  bool listBox = GetClassNameA(list, kind, sizeof kind) && lstrcmpiA(kind, "ListBox") == 0;
  Rows rows(SendMessageA(list, listBox ? LB_GETCOUNT : LVM_GETITEMCOUNT, 0, 0));
  LVITEMA item = {};
  item.iSubItem = column, item.pszText = text, item.cchTextMax = sizeof text;
  for (size_t row = 0; row < rows.size(); ++row) {
    SendMessageA(list, listBox ? LB_GETTEXT : LVM_GETITEMTEXTA, row,
                 listBox ? LPARAM(text) : LPARAM(&item));
    rows[row] = text;
  }
  return rows;
}

// The highlighted row of a list box or list view, -1 for none.
LRESULT Highlighted(HWND list) {
  char kind[16] = {};
  if (GetClassNameA(list, kind, sizeof kind) && lstrcmpiA(kind, "ListBox") == 0)
    return SendMessageA(list, LB_GETCURSEL, 0, 0);
  return SendMessageA(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED);
}

bool ListViewChecked(HWND list, int row) {
  return (SendMessageA(list, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK) & LVIS_STATEIMAGEMASK) ==
         INDEXTOSTATEIMAGEMASK(2);
}

void ListViewSetState(HWND list, int row, UINT state, UINT mask) {
  LVITEMA item = {};
  item.state = state, item.stateMask = mask;
  SendMessageA(list, LVM_SETITEMSTATE, row, LPARAM(&item));
}

// A mouse click at a client point of a control.
void Click(HWND control, POINT point) {
  SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
  SendMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
}

// Posts a key press to the focused control and lets the host's loop route it.
void PressKey(win32::Win32Host& host, UINT key) {
  HWND focus = GetFocus();
  PostMessageA(focus, WM_KEYDOWN, key, 1);
  PostMessageA(focus, WM_KEYUP, key, 0xC0000001);
  host.DoEvents();
}

using Events = std::map<std::string, int>;

class HostTestWindow : public ui::Window {
 public:
  HostTestWindow() : ui::Window("HostTestWindow") {
    SetCaption("HostTestWindow");
    memo.multiLine = true;
    memo.tooltip = "tip";
    cancel.isCancel = true;
    off.SetEnabled(false);
    hidden.SetVisible(false);
    ok.tabIndex = 0, line.tabIndex = 1, marks.tabIndex = 2;  // not the layout order
    for (ui::Control* c : controls()) {
      std::string name = c->name();
      c->Click = [this, name] { ++events[name + ".Click"]; };
      c->Change = [this, name] { ++events[name + ".Change"]; };
      c->DblClick = [this, name] { ++events[name + ".DblClick"]; };
    }
    // The row a click comes with must already be the current one.
    marks.Click = [this] { ++events["Marks.Click@" + std::to_string(marks.ListIndex())]; };
  }
  void Form_Load() override {
    for (const char* row : {"alpha", "beta", "gamma", "delta"})
      for (ui::ListBox* list : {&marks, &plain, &hidden}) list->AddItem(row);
    marks.SetSelected(1, true);
    hidden.SetSelected(2, true);
    visibleDuringLoad = IsWindowVisible(FindWindowA(nullptr, caption().c_str()));
  }

  ui::ListBox marks{*this, "Marks", nullptr, {120, 360, 3375, 2370}, /*checkBoxes=*/true};
  ui::ListBox plain{*this, "Plain", nullptr, {4800, 360, 3000, 2400}};
  ui::TextBox line{*this, "Line", nullptr, {120, 3000, 3375, 375}};
  ui::TextBox memo{*this, "Memo", nullptr, {120, 4440, 7680, 615}};
  ui::CheckBox check{*this, "Check", nullptr, {3240, 5160, 1815, 420}};
  ui::Button off{*this, "Off", nullptr, {4200, 5760, 975, 375}};
  ui::Button cancel{*this, "Cancel", nullptr, {5400, 5760, 975, 375}};
  ui::ListBox hidden{*this, "Hidden", nullptr, {0, 0, 975, 375}, /*checkBoxes=*/true};
  ui::Button ok{*this, "Ok", nullptr, {6600, 5760, 975, 375}};
  Events events;
  bool visibleDuringLoad = true;
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

  win32::Win32Host host{GetModuleHandleA(nullptr)};
  HostTestWindow window;
};

// Form_Load runs before the window shows; model changes then reach the native controls
// (a hidden list's rows when it is shown) and raise only the model's own events.
TEST_F(HostTest, ModelsReachTheNativeControlsFromLoadOnAndTextRaisesOneChangeEachWay) {
  EXPECT_FALSE(window.visibleDuringLoad);
  EXPECT_TRUE(ListViewChecked(Native(window.marks), 1));
  window.hidden.AddItem("epsilon");
  window.hidden.SetVisible(true);
  EXPECT_EQ(RowsOf(Native(window.hidden)), (Rows{"alpha", "beta", "gamma", "delta", "epsilon"}));
  EXPECT_TRUE(ListViewChecked(Native(window.hidden), 2));
  EXPECT_FALSE(IsWindowEnabled(Native(window.off)));
  EXPECT_EQ(SendMessageA(FindWindowA(TOOLTIPS_CLASSA, nullptr), TTM_GETTOOLCOUNT, 0, 0), 1);
  window.ok.SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(Native(window.ok)));
  window.check.SetValue(1);
  EXPECT_EQ(SendMessageA(Native(window.check), BM_GETCHECK, 0, 0), BST_CHECKED);
  window.check.SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(Native(window.check)));
  // Typed text: one Change each, the caret left alone, a handler's rewrite shown.
  HWND memo = Native(window.memo);
  SendMessageA(memo, EM_REPLACESEL, TRUE, LPARAM("hello"));
  // Rewriting the text would have put the caret back to 0.
  EXPECT_EQ(HIWORD(SendMessageA(memo, EM_GETSEL, 0, 0)), 5);
  window.memo.SetText("first\r\nsecond");
  EXPECT_EQ(TextOf(memo), "first\r\nsecond");
  auto counted = window.line.Change;  // a handler that rewrites what was typed
  window.line.Change = [&] {
    counted();
    window.line.SetText("ABC");
  };
  SendMessageA(Native(window.line), WM_SETTEXT, 0, LPARAM("abc"));
  EXPECT_EQ(TextOf(Native(window.line)), "ABC");
  EXPECT_EQ(window.events, (Events{{"Line.Change", 2}, {"Memo.Change", 2}}));
}

TEST_F(HostTest, ListsFollowEveryRowChangeOfTheirModelsAndRaiseNothing) {
  for (ui::ListBox* model : {&window.marks, &window.plain}) {
    SCOPED_TRACE(model->name());
    HWND list = Native(*model);
    model->SetListIndex(3);
    model->SetListIndex(-1);
    EXPECT_EQ(Highlighted(list), -1);
    model->SetListIndex(3);
    model->SetList(3, "GAMMA");
    model->AddItem("epsilon");
    model->RemoveItem(0);
    EXPECT_EQ(RowsOf(list), (Rows{"beta", "gamma", "GAMMA", "epsilon"}));
    EXPECT_EQ(Highlighted(list), 2) << "the current row moved with its row";
    model->RemoveItem(2);  // the current row itself: none is current
    EXPECT_EQ(Highlighted(list), -1);
    model->AddItem("zeta");
    EXPECT_EQ(RowsOf(list), (Rows{"beta", "gamma", "epsilon", "zeta"}));
    model->SetListIndex(4);  // past the end: none
    EXPECT_EQ(model->ListIndex(), -1);
    model->Clear();
    model->AddItem("again");
    EXPECT_EQ(RowsOf(list), Rows{"again"});
  }
  EXPECT_TRUE(window.events.empty());
}

TEST_F(HostTest, MarksMouseButtonsAndKeysUpdateTheModelAndClickWhatIsEnabledOnceEach) {
  ListViewSetState(Native(window.marks), 1, INDEXTOSTATEIMAGEMASK(1), LVIS_STATEIMAGEMASK);
  EXPECT_FALSE(window.marks.Selected(1));
  EXPECT_EQ(window.marks.ListIndex(), 1);
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
    host.DoEvents();
    EXPECT_EQ(model.ListIndex(), 2);
    EXPECT_EQ(Highlighted(list), 2) << "a list box keeps its current row highlighted";
  }
  SendMessageA(Native(window.plain), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  // Buttons and keys click what is enabled.
  SendMessageA(Native(window.check), BM_CLICK, 0, 0);
  EXPECT_EQ(window.check.value(), 1);
  SendMessageA(Native(window.off), BM_CLICK, 0, 0);
  SetFocus(Native(window.ok));
  PressKey(host, VK_RETURN);
  // Tab walks the tab indexes, round; the stacking is the layout's, top first.
  for (const ui::Control* next : std::initializer_list<const ui::Control*>{&window.line, &window.marks, &window.ok}) {
    PressKey(host, VK_TAB);
    EXPECT_EQ(GetFocus(), Native(*next)) << next->name();
  }
  EXPECT_EQ(GetWindow(Native(window.ok), GW_HWNDFIRST), Native(window.marks));
  EXPECT_EQ(GetWindow(Native(window.ok), GW_HWNDPREV), Native(window.hidden));
  SetFocus(Native(window.memo));
  PressKey(host, VK_ESCAPE);  // the cancel button, while enabled
  window.cancel.SetEnabled(false);
  PressKey(host, VK_ESCAPE);
  EXPECT_EQ(window.events, (Events{{"Cancel.Click", 1}, {"Check.Click", 1}, {"Marks.Click@1", 1},
                                   {"Marks.Click@2", 2}, {"Ok.Click", 1}, {"Plain.Click", 2},
                                   {"Plain.DblClick", 1}}));
}

// The process monitor, clicked: once a click beside the columns takes the report view's
// highlight away, its current row goes too, and 强行中止 ends nothing.
TEST(Form5OnWine, TheDeleteButtonEndsNothingOnceTheHighlightIsGone) {
  win32::Win32Platform real;
  mem::CallMeter meter;
  mem::MemoryProcesses processes(&meter);
  processes.table = {{4, "self.exe"}, {8, "a.exe"}, {12, "b.exe"}};
  Platform platform{real.platform().registry, real.platform().profile, real.platform().files,
                    real.platform().system, processes, real.platform().programs};
  char temp[MAX_PATH];
  const std::string folder(temp, GetTempPathA(MAX_PATH, temp) - 1);
  win32::Win32Host host(GetModuleHandleA(nullptr));
  int asked = 0;
  host.messageBoxHook = [&](const std::string&, int, const std::string&) { return ++asked, IDYES; };
  Form5 form(platform, host, folder);
  host.Open(form);
  HWND list = host.NativeControl(form.lvwPrss);
  RECT row = {LVIR_BOUNDS, 0, 0, 0}, client;
  SendMessageA(list, LVM_GETITEMRECT, 1, LPARAM(&row));
  GetClientRect(list, &client);
  Click(list, {8, (row.top + row.bottom) / 2});
  EXPECT_EQ(form.lvwPrss.ListIndex(), 1);
  Click(list, {client.right - 4, (row.top + row.bottom) / 2});  // the note display is mid-list
  host.DoEvents();
  SendMessageA(host.NativeControl(form.cmdDelete), BM_CLICK, 0, 0);
  EXPECT_EQ(std::to_string(form.lvwPrss.ListIndex()) + std::to_string(Highlighted(list)) +
                std::to_string(asked) + std::to_string(processes.table.size()), "-1-103");
  host.Close(form);
  DeleteFileA((folder + "\\morvane4.txt").c_str());
}

}  // namespace
}  // namespace qel::test
