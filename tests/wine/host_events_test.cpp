// Native notifications become model updates and exactly one event each.
#include "host_fixture.h"

namespace qel::test {
namespace {

POINT RowCentre(HWND list, int row, bool listView) {
  RECT rect = {};
  if (listView) {
    rect.left = LVIR_LABEL;
    SendMessageA(list, LVM_GETITEMRECT, row, LPARAM(&rect));
  } else {
    SendMessageA(list, LB_GETITEMRECT, row, LPARAM(&rect));
  }
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

POINT BelowLastRow(HWND list) {
  RECT client;
  GetClientRect(list, &client);
  return {client.right / 2, client.bottom - 3};
}

TEST_F(HostTest, ToggledMarkUpdatesTheModelMakesTheRowCurrentAndClicksOnce) {
  HWND list = Native(window.marks);
  ListViewSetState(list, 2, INDEXTOSTATEIMAGEMASK(2), LVIS_STATEIMAGEMASK);
  EXPECT_TRUE(window.marks.Selected(2));
  EXPECT_EQ(window.marks.ListIndex(), 2);
  EXPECT_EQ(ListViewSelected(list), 2);  // the native selection follows the current row
  EXPECT_EQ(window.Events("Marks.Click"), 1);

  ListViewSetState(list, 1, INDEXTOSTATEIMAGEMASK(1), LVIS_STATEIMAGEMASK);
  EXPECT_FALSE(window.marks.Selected(1));
  EXPECT_EQ(window.marks.ListIndex(), 1);
  EXPECT_EQ(window.Events("Marks.Click"), 2);
  EXPECT_EQ(window.TotalEvents(), 2);
}

TEST_F(HostTest, SpaceTogglesTheMarkOfTheCurrentRow) {
  HWND list = Native(window.marks);
  window.marks.SetListIndex(3);
  SetFocus(list);
  PressKey(host, VK_SPACE);
  EXPECT_TRUE(window.marks.Selected(3));
  EXPECT_TRUE(ListViewChecked(list, 3));
  EXPECT_EQ(window.Events("Marks.Click"), 1);
  PressKey(host, VK_SPACE);
  EXPECT_FALSE(window.marks.Selected(3));
  EXPECT_EQ(window.Events("Marks.Click"), 2);
}

TEST_F(HostTest, SelectingARowOfTheCheckListClicksOnceAndKeepsTheMarks) {
  HWND list = Native(window.marks);
  ListViewSetState(list, 2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  EXPECT_EQ(window.marks.ListIndex(), 2);
  EXPECT_EQ(window.Events("Marks.Click"), 1);
  ListViewSetState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  EXPECT_EQ(window.marks.ListIndex(), 0);
  EXPECT_EQ(window.Events("Marks.Click"), 2);
  EXPECT_TRUE(window.marks.Selected(1));
  EXPECT_FALSE(window.marks.Selected(0));
}

TEST_F(HostTest, MouseClickOnTheCurrentRowClicksAgainButNotOnEmptySpace) {
  HWND list = Native(window.marks);
  Click(list, RowCentre(list, 2, true));
  EXPECT_EQ(window.marks.ListIndex(), 2);
  EXPECT_EQ(window.Events("Marks.Click"), 1);
  Click(list, RowCentre(list, 2, true));
  EXPECT_EQ(window.Events("Marks.Click"), 2);
  Click(list, BelowLastRow(list));
  EXPECT_EQ(window.Events("Marks.Click"), 2);
  EXPECT_EQ(window.marks.ListIndex(), 2);

  HWND plain = Native(window.plain);
  Click(plain, RowCentre(plain, 1, false));
  EXPECT_EQ(window.plain.ListIndex(), 1);
  EXPECT_EQ(window.Events("Plain.Click"), 1);
  Click(plain, RowCentre(plain, 1, false));
  EXPECT_EQ(window.Events("Plain.Click"), 2);
  Click(plain, BelowLastRow(plain));
  EXPECT_EQ(window.Events("Plain.Click"), 2);
}

TEST_F(HostTest, ArrowKeyInThePlainListMovesTheCurrentRow) {
  HWND plain = Native(window.plain);
  window.plain.SetListIndex(0);
  SetFocus(plain);
  PressKey(host, VK_DOWN);
  EXPECT_EQ(window.plain.ListIndex(), 1);
  EXPECT_EQ(window.Events("Plain.Click"), 1);
}

TEST_F(HostTest, TypingUpdatesTheModelOnceAndLeavesTheCaretAlone) {
  HWND line = Native(window.line);
  SendMessageA(line, WM_SETTEXT, 0, LPARAM("typed"));
  EXPECT_EQ(window.line.text(), "typed");
  EXPECT_EQ(window.Events("Line.Change"), 1);

  // A multi-line edit reports no change for WM_SETTEXT; typing goes through EM_REPLACESEL.
  HWND memo = Native(window.memo);
  SendMessageA(memo, EM_SETSEL, 0, -1);
  SendMessageA(memo, EM_REPLACESEL, TRUE, LPARAM("hello"));
  EXPECT_EQ(window.memo.text(), "hello");
  EXPECT_EQ(window.Events("Memo.Change"), 1);

  SendMessageA(memo, EM_SETSEL, 5, 5);
  SendMessageA(memo, EM_REPLACESEL, TRUE, LPARAM("!"));
  EXPECT_EQ(window.memo.text(), "hello!");
  EXPECT_EQ(window.Events("Memo.Change"), 2);
  DWORD start = 0, end = 0;
  SendMessageA(memo, EM_GETSEL, WPARAM(&start), LPARAM(&end));
  EXPECT_EQ(start, 6u);  // rewriting the text would have put the caret back to 0
  EXPECT_EQ(end, 6u);
  EXPECT_EQ(window.TotalEvents(), 3);
}

TEST_F(HostTest, AHandlerThatRewritesTheTypedTextIsShown) {
  window.line.Change = [this] {
    ++window.events["Line.Change"];
    std::string upper = window.line.text();
    for (char& ch : upper) ch = char(toupper(static_cast<unsigned char>(ch)));
    window.line.SetText(upper);
  };
  SendMessageA(Native(window.line), WM_SETTEXT, 0, LPARAM("abc"));
  EXPECT_EQ(window.line.text(), "ABC");
  EXPECT_EQ(TextOf(Native(window.line)), "ABC");
  // The typed text, then the handler's own change; nothing echoed by the host.
  EXPECT_EQ(window.Events("Line.Change"), 2);
}

TEST_F(HostTest, CheckBoxAndButtonClicks) {
  SendMessageA(Native(window.check), BM_CLICK, 0, 0);
  EXPECT_EQ(window.check.value(), 1);
  EXPECT_EQ(window.Events("Check.Click"), 1);
  SendMessageA(Native(window.check), BM_CLICK, 0, 0);
  EXPECT_EQ(window.check.value(), 0);
  EXPECT_EQ(window.Events("Check.Click"), 2);

  SendMessageA(Native(window.ok), BM_CLICK, 0, 0);
  EXPECT_EQ(window.Events("Ok.Click"), 1);
  SendMessageA(Native(window.off), BM_CLICK, 0, 0);  // disabled
  EXPECT_EQ(window.Events("Off.Click"), 0);
}

TEST_F(HostTest, KeyboardEnterSpaceTabAndEsc) {
  ASSERT_EQ(GetFocus(), Native(window.ok));
  PressKey(host, VK_RETURN);
  EXPECT_EQ(window.Events("Ok.Click"), 1);
  PressKey(host, VK_SPACE);
  EXPECT_EQ(window.Events("Ok.Click"), 2);

  PressKey(host, VK_TAB);
  EXPECT_EQ(GetFocus(), Native(window.marks));
  PressKey(host, VK_TAB);
  EXPECT_EQ(GetFocus(), Native(window.plain));

  // Tab leaves a multi-line edit too, both ways, and types no tab into it.
  SetFocus(Native(window.memo));
  PressKey(host, VK_TAB);
  EXPECT_EQ(GetFocus(), Native(window.check));
  SetFocus(Native(window.memo));
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_SHIFT] = 0x80;
  SetKeyboardState(keys);
  PressKey(host, VK_TAB);
  keys[VK_SHIFT] = 0;
  SetKeyboardState(keys);
  EXPECT_EQ(GetFocus(), Native(window.line));
  EXPECT_EQ(window.memo.text(), "memo");

  // Enter in a multi-line edit types no line break (the text is one command
  // line) and, with no default button, presses nothing.
  SetFocus(Native(window.memo));
  PressKey(host, VK_RETURN);
  EXPECT_EQ(window.memo.text(), "memo");
  EXPECT_EQ(window.Events("Ok.Click"), 2);

  // Esc presses the cancel button, even from a multi-line edit.
  SetFocus(Native(window.memo));
  PressKey(host, VK_ESCAPE);
  EXPECT_EQ(window.Events("Cancel.Click"), 1);
  EXPECT_TRUE(IsWindow(Top()));
  EXPECT_EQ(window.Events("Ok.Click"), 2);
}

}  // namespace
}  // namespace qel::test
