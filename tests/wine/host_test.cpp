// The real Win32 host: native controls show the models, and native
// notifications, mouse and keys become model updates and exactly one event each.
// Then the program's windows on the real registry and processes of the test prefix.
// commctrl.h needs windows.h before it; the platform headers undo its A/W macros after it.
// clang-format off
#include <windows.h>
#include <commctrl.h>
#include "platform/win32/win32_platform.h"
// clang-format on

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

#include "app/form1.h"
#include "process/form5.h"
#include "support/child_process.h"
#include "ui/controls.h"
#include "ui/win32/win32_host.h"

namespace qel::test {
namespace {

using Rows = std::vector<std::string>;

// The real host on the real platform; message boxes are answered Yes and kept.
class OnWine : public ::testing::Test {
 protected:
  OnWine() {
    host.messageBoxHook = [this](const std::string& text, int, const std::string&) {
      said.push_back(text);
      return ui::kIdYes;
    };
  }
  win32::Win32Platform windows;
  win32::Win32Host host{GetModuleHandleA(nullptr)};
  Rows said;
};

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
  ui::TextBox line{*this, "Line", nullptr, {120, 3000, 3375, 375}};
  ui::TextBox memo{*this, "Memo", nullptr, {120, 4440, 7680, 615}};
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

class HostTest : public OnWine {
 protected:
  void SetUp() override {
    host.Open(window);
    host.DoEvents();
    window.events.clear();  // what loading raised is not under test here
  }
  void TearDown() override { host.Close(window); }
  HWND Native(const ui::Control& control) const { return host.NativeControl(control); }

  HostTestWindow window;
};

// Form_Load runs before the window shows; model changes then reach the native controls
// (a hidden list's rows when it is shown) and raise only the model's own events.
TEST_F(HostTest, ModelsReachTheNativeControlsFromLoadOnAndRaiseOnlyTheirOwnEvents) {
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
  window.memo.SetText("first\r\nsecond");
  EXPECT_EQ(TextOf(Native(window.memo)), "first\r\nsecond");
  EXPECT_EQ(window.events, (Events{{"Memo.Change", 1}}));
}

TEST_F(HostTest, ListsFollowEveryRowChangeOfTheirModelsAndRaiseNothing) {
  for (ui::ListBox* model : {&window.marks, &window.plain}) {
    SCOPED_TRACE(model->name());
    HWND list = Native(*model);
    // The current row; a list box ignores the arguments.
    UINT query = model == &window.marks ? LVM_GETNEXTITEM : LB_GETCURSEL;
    auto current = [&] { return SendMessageA(list, query, WPARAM(-1), LVNI_SELECTED); };
    model->SetListIndex(3);
    model->SetListIndex(-1);
    EXPECT_EQ(current(), -1);
    model->SetListIndex(3);
    model->SetList(3, "GAMMA");
    model->AddItem("epsilon");
    model->RemoveItem(0);
    EXPECT_EQ(RowsOf(list), (Rows{"beta", "gamma", "GAMMA", "epsilon"}));
    EXPECT_EQ(current(), 2) << "the current row moved with its row";
    model->RemoveItem(2);  // the current row itself: none is current
    EXPECT_EQ(current(), -1);
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

TEST_F(HostTest, MarksToggledAndMouseClicksUpdateTheModelAndClickOnceEach) {
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
    EXPECT_EQ(model.ListIndex(), 2);
  }
  EXPECT_EQ(window.events, (Events{{"Marks.Click", 3}, {"Plain.Click", 2}}));
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
    ownerEnabled = IsWindowEnabled(host.NativeWindow(window));
    // From the queue, so that the modal loop runs.
    PostMessageA(host.NativeWindow(dialog), WM_CLOSE, 0, 0);
  };
  window.ok.Click = [&] { host.ShowModal(dialog); };
  SendMessageA(Native(window.ok), BM_CLICK, 0, 0);
  EXPECT_EQ(dialog.unloads, 1);
  EXPECT_FALSE(ownerEnabled);
  HWND top = host.NativeWindow(window);
  window.cancel.Click = [this] {
    host.Unload(window), window.line.SetText("no window to show it");
  };
  SendMessageA(Native(window.cancel), BM_CLICK, 0, 0);
  EXPECT_FALSE(IsWindow(top));
  EXPECT_EQ(window.unloads, 1);
}

constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kRunTwinKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run-";

TEST_F(OnWine, Form1ShowsTheScannedEntriesAndEditsThemOnScreen) {
  const std::string old = "QelHostTest" + windows.platform().system.ToAnsi("旧");
  const std::string monitor = "QelHostTestMonitor";
  RegSetKeyValueA(HKEY_LOCAL_MACHINE, kRunTwinKey, old.c_str(), REG_SZ, "C:\\old.exe", 11);
  RegSetKeyValueA(HKEY_CURRENT_USER, kRunKey, monitor.c_str(), REG_SZ, "C:\\mon.exe", 11);
  DWORD one = 1;
  // The first run opens a web site; this starts as a returning user.
  RegSetKeyValueA(HKEY_CURRENT_USER,
                  "Software\\Policies\\Microsoft\\Internet Explorer\\Control Panel",
                  "OpenMyHomePage", REG_DWORD, &one, sizeof one);

  Form1 form(windows.platform(), host);
  host.Open(form);
  HWND list1 = host.NativeControl(form.List1), text2 = host.NativeControl(form.Text2);
  auto rowOf = [&](const std::string& text) {
    Rows rows = RowsOf(list1);
    return int(std::find(rows.begin(), rows.end(), text) - rows.begin());
  };
  ListViewSetState(list1, rowOf(old), LVIS_SELECTED, LVIS_SELECTED);
  EXPECT_EQ(TextOf(text2), "C:\\old.exe");
  SendMessageA(text2, EM_SETSEL, 0, -1);
  SendMessageA(text2, EM_REPLACESEL, TRUE, LPARAM("D:\\new.exe"));
  EXPECT_EQ(RowsOf(host.NativeControl(form.List4)).at(rowOf(old)), "D:\\new.exe");
  ASSERT_LT(rowOf(monitor), form.List1.ListCount());
  ListViewSetState(list1, rowOf(monitor), LVIS_SELECTED, LVIS_SELECTED);
  SendMessageA(host.NativeControl(form.Command1), BM_CLICK, 0, 0);
  EXPECT_EQ(rowOf(monitor), form.List1.ListCount()) << "gone from the model and the screen";
  EXPECT_EQ(said, Rows{});
  host.Close(form);  // closing without the confirm writes nothing: the end-to-end run checks that
  RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kRunTwinKey, old.c_str());
  RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, monitor.c_str());
}

TEST_F(OnWine, Form5ListsRealProcessesTrustsTheirNamesAndEndsThem) {
  char temp[MAX_PATH];
  Form5 form(windows.platform(), host, std::string(temp, GetTempPathA(MAX_PATH, temp) - 1));
  auto pick = [&](const std::string& name) {  // selects name's row as a click would; its ID
    HWND list = host.NativeControl(form.lvwPrss);
    Rows names = RowsOf(list, 1);
    size_t row = std::find(names.begin(), names.end(), name) - names.begin();
    if (row == names.size()) return std::string("(none)");
    ListViewSetState(list, int(row), LVIS_SELECTED, LVIS_SELECTED);
    return RowsOf(list)[row];
  };
  HANDLE child = nullptr;
  DWORD id = StartSleepingChild("QelChild.EXE", &child);
  host.Open(form);
  EXPECT_EQ(std::to_string(id), pick("qelchild.exe"));  // listed in lower case
  EXPECT_TRUE(form.List7.visible());                    // the click showed the note

  // A double click trusts a name; coming back from another window refills.
  HWND list4 = host.NativeControl(form.List4);
  const int trusted = form.List5.ListCount();
  Click(list4, {5, 5});
  SendMessageA(list4, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(trusted + 1, form.List5.ListCount());
  ui::Window other("Other");
  host.Open(other);
  host.Close(other);
  host.DoEvents();
  EXPECT_FALSE(form.List7.visible());

  EXPECT_EQ(std::to_string(id), pick("qelchild.exe"));
  form.cmdDelete_Click();
  EXPECT_EQ("(none)", pick("qelchild.exe"));
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(child, 5000));
  CloseHandle(child);
  host.Close(form);
}

}  // namespace
}  // namespace qel::test
