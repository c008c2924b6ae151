// Native notifications, mouse and keys become model updates and exactly one
// event each.
#include "host_fixture.h"

namespace qel::test {
namespace {

POINT RowCentre(HWND list, int row, bool listView) {
  RECT rect = {};
  rect.left = LVIR_LABEL;
  SendMessageA(list, listView ? LVM_GETITEMRECT : LB_GETITEMRECT, row, LPARAM(&rect));
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

TEST_F(HostTest, MarksToggledBySystemOrSpaceUpdateTheModelAndTheCurrentRowAndClickOnce) {
  HWND list = Native(window.marks);
  ListViewSetState(list, 2, INDEXTOSTATEIMAGEMASK(2), LVIS_STATEIMAGEMASK);
  EXPECT_TRUE(window.marks.Selected(2));
  EXPECT_EQ(window.marks.ListIndex(), 2);
  EXPECT_EQ(ListViewSelected(list), 2);
  ListViewSetState(list, 1, INDEXTOSTATEIMAGEMASK(1), LVIS_STATEIMAGEMASK);
  EXPECT_FALSE(window.marks.Selected(1));
  EXPECT_EQ(window.marks.ListIndex(), 1);
  ListViewSetState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  EXPECT_EQ(window.marks.ListIndex(), 0);
  EXPECT_FALSE(window.marks.Selected(0)) << "selecting a row leaves its mark";
  EXPECT_EQ(window.Events("Marks.Click"), 3);

  window.marks.SetListIndex(3);
  SetFocus(list);
  PressKey(host, VK_SPACE);
  EXPECT_TRUE(window.marks.Selected(3));
  EXPECT_TRUE(ListViewChecked(list, 3));
  PressKey(host, VK_SPACE);
  EXPECT_FALSE(window.marks.Selected(3));
  EXPECT_EQ(window.Events("Marks.Click"), 5);
  EXPECT_EQ(window.TotalEvents(), 5);
}

TEST_F(HostTest, AMouseClickOnTheCurrentRowClicksAgainButNotOnEmptySpace) {
  for (ui::ListBox* model : {&window.marks, &window.plain}) {
    const bool listView = model == &window.marks;
    const std::string click = model->name() + ".Click";
    HWND list = Native(*model);
    RECT client;
    GetClientRect(list, &client);
    Click(list, RowCentre(list, 2, listView));
    EXPECT_EQ(model->ListIndex(), 2);
    EXPECT_EQ(window.Events(click), 1);
    Click(list, RowCentre(list, 2, listView));
    EXPECT_EQ(window.Events(click), 2);
    Click(list, {client.right / 2, client.bottom - 3});
    EXPECT_EQ(window.Events(click), 2);
    EXPECT_EQ(model->ListIndex(), 2);
  }
  SetFocus(Native(window.plain));
  PressKey(host, VK_DOWN);
  EXPECT_EQ(window.plain.ListIndex(), 3);
  EXPECT_EQ(window.Events("Plain.Click"), 3);
}

TEST_F(HostTest, TypingUpdatesTheModelOnceLeavesTheCaretAloneAndShowsAHandlersRewrite) {
  HWND memo = Native(window.memo);
  SendMessageA(memo, EM_SETSEL, 0, -1);
  SendMessageA(memo, EM_REPLACESEL, TRUE, LPARAM("hello"));
  SendMessageA(memo, EM_SETSEL, 5, 5);
  SendMessageA(memo, EM_REPLACESEL, TRUE, LPARAM("!"));
  EXPECT_EQ(window.memo.text(), "hello!");
  EXPECT_EQ(window.Events("Memo.Change"), 2);
  DWORD start = 0, end = 0;
  SendMessageA(memo, EM_GETSEL, WPARAM(&start), LPARAM(&end));
  EXPECT_EQ(start, 6u);  // rewriting the text would have put the caret back to 0
  EXPECT_EQ(end, 6u);

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
  EXPECT_EQ(window.TotalEvents(), 4);
}

TEST_F(HostTest, ButtonsCheckBoxesAndKeysClickWhatIsEnabled) {
  SendMessageA(Native(window.check), BM_CLICK, 0, 0);
  EXPECT_EQ(window.check.value(), 1);
  SendMessageA(Native(window.check), BM_CLICK, 0, 0);
  EXPECT_EQ(window.check.value(), 0);
  EXPECT_EQ(window.Events("Check.Click"), 2);
  SendMessageA(Native(window.off), BM_CLICK, 0, 0);
  EXPECT_EQ(window.Events("Off.Click"), 0);

  SetFocus(Native(window.ok));
  PressKey(host, VK_RETURN);
  PressKey(host, VK_SPACE);
  EXPECT_EQ(window.Events("Ok.Click"), 2);
  PressKey(host, VK_TAB);
  EXPECT_EQ(GetFocus(), Native(window.marks));

  // Tab leaves a multi-line edit, both ways, and types no tab into it.
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
  // Enter in a multi-line edit types no line break and, with no default
  // button, presses nothing; Esc presses the cancel button, while enabled.
  SetFocus(Native(window.memo));
  PressKey(host, VK_RETURN);
  EXPECT_EQ(window.memo.text(), "memo");
  PressKey(host, VK_ESCAPE);
  EXPECT_EQ(window.Events("Cancel.Click"), 1);
  window.cancel.SetEnabled(false);
  SetFocus(Native(window.memo));
  PressKey(host, VK_ESCAPE);
  EXPECT_EQ(window.Events("Cancel.Click"), 1);
  EXPECT_EQ(window.Events("Ok.Click"), 2);
  EXPECT_TRUE(IsWindow(Top()));
}

}  // namespace
}  // namespace qel::test
