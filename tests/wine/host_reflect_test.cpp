// The native controls show the models: where they sit, which take the
// focus, and every later model change one row at a time, never coming back
// as a user event.
#include "host_fixture.h"

namespace qel::test {
namespace {

// Tags every native row so a test can tell whether a row was rebuilt.
void TagRows(HWND list, bool listView) {
  int count = int(SendMessageA(list, listView ? LVM_GETITEMCOUNT : LB_GETCOUNT, 0, 0));
  for (int row = 0; row < count; ++row) {
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    item.lParam = 1000 + row;
    if (listView) SendMessageA(list, LVM_SETITEMA, 0, LPARAM(&item));
    else SendMessageA(list, LB_SETITEMDATA, row, 1000 + row);
  }
}

LPARAM TagOf(HWND list, int row, bool listView) {
  LVITEMA item = {};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  if (!listView) return SendMessageA(list, LB_GETITEMDATA, row, 0);
  SendMessageA(list, LVM_GETITEMA, 0, LPARAM(&item));
  return item.lParam;
}

TEST_F(HostTest, ControlsSitAtTheirTwipsInPixelsAndTabWalksTheEnabledStopsInOrder) {
  HDC screen = GetDC(nullptr);
  const int dpiX = GetDeviceCaps(screen, LOGPIXELSX), dpiY = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  RECT client;
  GetClientRect(Top(), &client);
  EXPECT_EQ(client.right, MulDiv(window.clientWidth, dpiX, 1440));
  EXPECT_EQ(client.bottom, MulDiv(window.clientHeight, dpiY, 1440));
  for (ui::Control* c : window.controls()) {
    SCOPED_TRACE(c->name());
    HWND hwnd = Native(*c);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(GetParent(hwnd), Top());  // frames hold no children: notifications reach the window
    int left = c->rect().left, top = c->rect().top;
    for (ui::Control* in = c->container(); in; in = in->container()) {
      left += in->rect().left;
      top += in->rect().top;
    }
    RECT rect = RectInParent(hwnd);
    EXPECT_EQ(rect.left, MulDiv(left, dpiX, 1440));
    EXPECT_EQ(rect.top, MulDiv(top, dpiY, 1440));
    EXPECT_EQ(rect.right - rect.left, MulDiv(c->rect().width, dpiX, 1440));
    EXPECT_EQ(rect.bottom - rect.top, MulDiv(c->rect().height, dpiY, 1440));
  }

  EXPECT_EQ(GetFocus(), Native(window.ok));
  EXPECT_FALSE(IsWindowEnabled(Native(window.off)));
  HWND at = Native(window.ok);
  for (const ui::Control* c : std::initializer_list<const ui::Control*>{
           &window.marks, &window.plain, &window.line, &window.memo, &window.check, &window.cancel,
           &window.report, &window.ok}) {  // "off" is disabled
    at = GetNextDlgTabItem(Top(), at, FALSE);
    EXPECT_EQ(at, Native(*c)) << "expected " << c->name();
  }
}

TEST_F(HostTest, ModelsBecomeTheirNativeControlsWithTheirFontTooltipsAndColours) {
  auto style = [](HWND hwnd) { return GetWindowLongPtrA(hwnd, GWL_STYLE); };
  auto classOf = [](HWND hwnd) {
    char name[64] = {};
    GetClassNameA(hwnd, name, sizeof name);
    CharUpperA(name);
    return std::string(name);
  };
  const struct {
    const ui::Control* model;
    const char* className;
    LONG_PTR styleBits;
  } kinds[] = {
      {&window.marks, "SYSLISTVIEW32", LVS_NOCOLUMNHEADER | LVS_SINGLESEL},
      {&window.report, "SYSLISTVIEW32", LVS_REPORT},
      {&window.plain, "LISTBOX", LBS_NOTIFY},
      {&window.memo, "EDIT", ES_MULTILINE},
      {&window.check, "BUTTON", BS_AUTOCHECKBOX},
      {&window.outer, "BUTTON", BS_GROUPBOX},
      {&window.label, "STATIC", SS_NOPREFIX},
  };
  for (const auto& k : kinds) {
    EXPECT_EQ(classOf(Native(*k.model)), k.className) << k.model->name();
    EXPECT_EQ(style(Native(*k.model)) & k.styleBits, k.styleBits) << k.model->name();
    EXPECT_EQ(TextOf(Native(*k.model)), k.model->text()) << k.model->name();
  }
  EXPECT_TRUE(SendMessageA(Native(window.marks), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_CHECKBOXES);
  EXPECT_FALSE(style(Native(window.line)) & ES_MULTILINE);
  EXPECT_EQ(TextOf(Top()), window.caption());
  const LONG_PTR frame = style(Top());
  EXPECT_EQ(frame & (WS_MINIMIZEBOX | WS_SYSMENU | WS_MAXIMIZEBOX | WS_THICKFRAME), WS_MINIMIZEBOX | WS_SYSMENU);
  RECT rect;
  GetWindowRect(Top(), &rect);
  EXPECT_NEAR((rect.left + rect.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1) << "centred";

  LOGFONTA font = {};
  GetObjectA(HFONT(SendMessageA(Native(window.label), WM_GETFONT, 0, 0)), sizeof font, &font);
  EXPECT_EQ(font.lfCharSet, GB2312_CHARSET);
  HDC dc = CreateCompatibleDC(nullptr);
  EXPECT_EQ(font.lfHeight, -MulDiv(9, GetDeviceCaps(dc, LOGPIXELSY), 72));
  EXPECT_NE(SendMessageA(Top(), WM_CTLCOLORSTATIC, WPARAM(dc), LPARAM(Native(window.label))), 0);
  EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 255));
  EXPECT_EQ(GetBkColor(dc), GetSysColor(COLOR_ACTIVEBORDER));
  SendMessageA(Top(), WM_CTLCOLOREDIT, WPARAM(dc), LPARAM(Native(window.line)));
  EXPECT_EQ(GetTextColor(dc), GetSysColor(COLOR_WINDOWTEXT)) << "no colour of its own";
  DeleteDC(dc);

  HWND tooltip = FindWindowA(TOOLTIPS_CLASSA, nullptr);
  ASSERT_NE(tooltip, nullptr);
  EXPECT_EQ(SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0), 2);
  for (const ui::Control* c : std::initializer_list<const ui::Control*>{&window.memo, &window.ok}) {
    char text[256] = {};
    TOOLINFOA tool = {TTTOOLINFOA_V1_SIZE, 0, Top(), UINT_PTR(Native(*c))};
    tool.lpszText = text;
    SendMessageA(tooltip, TTM_GETTEXTA, 0, LPARAM(&tool));
    EXPECT_EQ(std::string(text), c->tooltip) << c->name();
  }
}

TEST_F(HostTest, AHiddenListHoldsNoNativeRowsUntilShown) {
  HWND hidden = Native(window.hidden);
  EXPECT_EQ(ListViewCount(hidden), 0);
  window.hidden.AddItem("epsilon");
  EXPECT_EQ(ListViewCount(hidden), 0);
  window.hidden.SetVisible(true);
  EXPECT_TRUE(IsWindowVisible(hidden));
  ASSERT_EQ(ListViewCount(hidden), 5);
  EXPECT_EQ(ListViewText(hidden, 4), "epsilon");
  EXPECT_TRUE(ListViewChecked(hidden, 2));
  EXPECT_FALSE(ListViewChecked(hidden, 1));
  window.hidden.RemoveItem(0);
  EXPECT_EQ(ListViewCount(hidden), 4);
  EXPECT_EQ(window.TotalEvents(), 0);
}

TEST_F(HostTest, BothListsFollowRowChangesWithoutRebuildingOtherRows) {
  for (bool listView : {true, false}) {
    SCOPED_TRACE(listView ? "check list" : "plain list");
    ui::ListBox& model = listView ? window.marks : window.plain;
    HWND list = Native(model);
    auto text = [&](int row) { return listView ? ListViewText(list, row) : ListBoxText(list, row); };
    auto count = [&] { return int(SendMessageA(list, listView ? LVM_GETITEMCOUNT : LB_GETCOUNT, 0, 0)); };
    auto current = [&] { return listView ? ListViewSelected(list) : int(SendMessageA(list, LB_GETCURSEL, 0, 0)); };
    TagRows(list, listView);

    model.SetListIndex(3);
    model.SetListIndex(-1);
    EXPECT_EQ(current(), -1);
    model.SetListIndex(3);
    model.SetList(3, "GAMMA");  // the current row's text
    EXPECT_EQ(text(3), "GAMMA");
    EXPECT_EQ(current(), 3);
    EXPECT_TRUE(IsWindowVisible(list));  // hidden only while the row is replaced
    model.AddItem("epsilon");
    ASSERT_EQ(count(), 5);
    EXPECT_EQ(text(4), "epsilon");
    EXPECT_EQ(TagOf(list, 2, listView), 1002);
    if (listView) {
      model.SetSelected(3, true);
      model.SetSelected(1, false);
      EXPECT_TRUE(ListViewChecked(list, 3));
      EXPECT_FALSE(ListViewChecked(list, 1));
    }
    model.RemoveItem(0);
    ASSERT_EQ(count(), 4);
    EXPECT_EQ(TagOf(list, 0, listView), 1001);
    EXPECT_EQ(current(), 2) << "the current row moved with its row";
    if (listView) EXPECT_TRUE(ListViewChecked(list, 2)) << "and so did the mark";
    model.RemoveItem(2);  // the current row itself: none is current
    EXPECT_EQ(current(), -1);
    model.AddItem("zeta");
    ASSERT_EQ(count(), 4);
    EXPECT_EQ(text(3), "zeta");
    model.SetListIndex(4);  // past the end: none
    EXPECT_EQ(model.ListIndex(), -1);
    model.Clear();
    EXPECT_EQ(count(), 0);
  }
  std::vector<std::string> texts;
  std::vector<bool> checks;
  for (int i = 0; i < 3000; ++i) {
    texts.push_back("row " + std::to_string(i));
    checks.push_back(i % 3 == 0);
  }
  window.marks.AddItems(texts, checks);
  HWND list = Native(window.marks);
  ASSERT_EQ(ListViewCount(list), 3000);
  for (int i : {0, 1, 2, 1500, 2999}) {
    EXPECT_EQ(ListViewText(list, i), texts[i]);
    EXPECT_EQ(ListViewChecked(list, i), checks[i]) << i;
  }
  EXPECT_TRUE(IsWindowVisible(list)) << "redraw is back on";
  EXPECT_EQ(window.TotalEvents(), 0);
}

TEST_F(HostTest, PropertyChangesReachTheNativeControls) {
  window.ok.SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(Native(window.ok)));
  window.label.SetText("\xB5\xB1\xC7\xB0");
  EXPECT_EQ(TextOf(Native(window.label)), "\xB5\xB1\xC7\xB0");
  window.SetCaption("New caption");
  EXPECT_EQ(TextOf(Top()), "New caption");
  window.check.SetValue(1);
  EXPECT_EQ(SendMessageA(Native(window.check), BM_GETCHECK, 0, 0), BST_CHECKED);
  window.label.SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(Native(window.label)));
  window.report.AddRow({"c.exe", "3"});
  EXPECT_EQ(ListViewText(Native(window.report), 2, 1), "3");
  window.report.SetListIndex(2);
  EXPECT_EQ(ListViewSelected(Native(window.report)), 2);
  window.memo.SetText("first\r\nsecond");
  EXPECT_EQ(TextOf(Native(window.memo)), "first\r\nsecond");
  EXPECT_EQ(window.Events("Memo.Change"), 1);  // the model's own, none from EN_CHANGE
  EXPECT_EQ(window.TotalEvents(), 1);
}

}  // namespace
}  // namespace qel::test
