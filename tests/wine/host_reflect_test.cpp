// Model changes reach the native controls one row at a time, and the host's
// own writes never come back as user events.
#include "host_fixture.h"

namespace qel::test {
namespace {

// Tags every native row so a test can tell whether a row was rebuilt.
void TagListView(HWND list) {
  for (int row = 0; row < ListViewCount(list); ++row) {
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    item.lParam = 1000 + row;
    SendMessageA(list, LVM_SETITEMA, 0, LPARAM(&item));
  }
}

LPARAM ListViewTag(HWND list, int row) {
  LVITEMA item = {};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  SendMessageA(list, LVM_GETITEMA, 0, LPARAM(&item));
  return item.lParam;
}

void TagListBox(HWND list) {
  int count = int(SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int row = 0; row < count; ++row) SendMessageA(list, LB_SETITEMDATA, row, 1000 + row);
}

LPARAM ListBoxTag(HWND list, int row) { return SendMessageA(list, LB_GETITEMDATA, row, 0); }

TEST_F(HostTest, CheckListFollowsRowChangesWithoutRebuildingOtherRows) {
  HWND list = Native(window.marks);
  TagListView(list);

  window.marks.AddItem("epsilon");
  ASSERT_EQ(ListViewCount(list), 5);
  EXPECT_EQ(ListViewText(list, 4), "epsilon");
  EXPECT_FALSE(ListViewChecked(list, 4));
  EXPECT_EQ(ListViewTag(list, 3), 1003);

  window.marks.SetList(2, "GAMMA");
  EXPECT_EQ(ListViewText(list, 2), "GAMMA");
  EXPECT_EQ(ListViewTag(list, 2), 1002);

  window.marks.SetSelected(3, true);
  EXPECT_TRUE(ListViewChecked(list, 3));
  EXPECT_TRUE(ListViewChecked(list, 1));
  window.marks.SetSelected(1, false);
  EXPECT_FALSE(ListViewChecked(list, 1));

  window.marks.SetListIndex(3);
  EXPECT_EQ(ListViewSelected(list), 3);
  window.marks.SetListIndex(-1);
  EXPECT_EQ(ListViewSelected(list), -1);
  window.marks.SetListIndex(3);
  window.marks.RemoveItem(0);
  ASSERT_EQ(ListViewCount(list), 4);
  EXPECT_EQ(ListViewText(list, 0), "beta");
  EXPECT_EQ(ListViewTag(list, 0), 1001);
  EXPECT_EQ(ListViewTag(list, 1), 1002);
  EXPECT_TRUE(ListViewChecked(list, 2));  // the check marks moved with their rows
  EXPECT_EQ(ListViewSelected(list), 2);   // and so did the current row

  window.marks.RemoveItem(2);  // the current row itself: none is current
  EXPECT_EQ(window.marks.ListIndex(), -1);
  EXPECT_EQ(ListViewSelected(list), -1);

  window.marks.Clear();
  EXPECT_EQ(ListViewCount(list), 0);
  EXPECT_EQ(window.TotalEvents(), 0);
}

TEST_F(HostTest, PlainListFollowsRowChangesKeepingTheCurrentRow) {
  HWND list = Native(window.plain);
  TagListBox(list);
  window.plain.SetListIndex(2);
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 2);

  window.plain.SetList(2, "D:\\new.exe");  // text change of the current row
  EXPECT_EQ(ListBoxText(list, 2), "D:\\new.exe");
  EXPECT_TRUE(IsWindowVisible(list));  // hidden only while the row is replaced
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(ListBoxTag(list, 1), 1001);
  EXPECT_EQ(ListBoxTag(list, 3), 1003);

  window.plain.AddItem("E:\\five.exe");
  EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 5);
  EXPECT_EQ(ListBoxText(list, 4), "E:\\five.exe");
  EXPECT_EQ(ListBoxTag(list, 3), 1003);

  window.plain.RemoveItem(0);
  EXPECT_EQ(ListBoxText(list, 0), "C:\\beta.exe");
  EXPECT_EQ(ListBoxTag(list, 0), 1001);
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 1);

  window.plain.Clear();
  EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(window.TotalEvents(), 0);
}

TEST_F(HostTest, BulkAppendBringsEveryRowAndMarkOver) {
  std::vector<std::string> texts;
  std::vector<bool> checks;
  for (int i = 0; i < 3000; ++i) {
    texts.push_back("row " + std::to_string(i));
    checks.push_back(i % 3 == 0);
  }
  HWND list = Native(window.marks);
  window.marks.AddItems(texts, checks);
  ASSERT_EQ(ListViewCount(list), 3004);
  for (int i : {0, 1, 2, 1500, 2999}) {
    EXPECT_EQ(ListViewText(list, 4 + i), texts[i]);
    EXPECT_EQ(ListViewChecked(list, 4 + i), checks[i]) << i;
  }
  window.plain.AddItems(texts, {});
  EXPECT_EQ(SendMessageA(Native(window.plain), LB_GETCOUNT, 0, 0), 3004);
  EXPECT_EQ(ListBoxText(Native(window.plain), 3003), "row 2999");
  // Redraw is back on: the control kept its visible style.
  EXPECT_TRUE(IsWindowVisible(list));
  EXPECT_EQ(window.TotalEvents(), 0);
}

TEST_F(HostTest, PropertyChangesReachTheNativeControls) {
  window.ok.SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(Native(window.ok)));
  window.ok.SetEnabled(true);
  EXPECT_TRUE(IsWindowEnabled(Native(window.ok)));

  window.label.SetText("\xB5\xB1\xC7\xB0");
  EXPECT_EQ(TextOf(Native(window.label)), "\xB5\xB1\xC7\xB0");
  window.cancel.SetText("Stop");
  EXPECT_EQ(TextOf(Native(window.cancel)), "Stop");
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
  EXPECT_EQ(window.TotalEvents(), 0);
}

TEST_F(HostTest, TextSetByCodeRaisesChangeOnceAndNotAgainFromTheEdit) {
  window.memo.SetText("first\r\nsecond");
  EXPECT_EQ(TextOf(Native(window.memo)), "first\r\nsecond");
  EXPECT_EQ(window.Events("Memo.Change"), 1);  // the model's own, none from EN_CHANGE
  EXPECT_EQ(window.TotalEvents(), 1);
}

}  // namespace
}  // namespace qel::test
