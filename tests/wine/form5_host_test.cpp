// The process monitor on the real processes, shown by the real host.
#include <gtest/gtest.h>

#include "platform/win32/win32_platform.h"
#include "process/form5.h"
#include "support/child_process.h"
#include "wine/host_fixture.h"

namespace qel::test {
namespace {

TEST(Form5OnWine, RealProcessesAreListedEndedAndKeptWhenTheyCannotBeEnded) {
  win32::Win32Platform windows;
  win32::Win32Host host{GetModuleHandleA(nullptr)};
  std::vector<std::string> boxes;
  host.messageBoxHook = [&](const std::string& text, int, const std::string&) {
    boxes.push_back(text);
    return ui::kIdYes;
  };
  char temp[MAX_PATH];
  Form5 form(windows.platform(), host, std::string(temp, GetTempPathA(MAX_PATH, temp) - 1));
  HWND list = nullptr;
  auto pick = [&](const std::string& name) {  // selects name's row as a click would; its ID
    for (int row = ListViewCount(list) - 1; row >= 0; --row)
      if (ListViewText(list, row, 1) == name) return ListViewSetState(list, row, LVIS_SELECTED, LVIS_SELECTED), ListViewText(list, row);
    return std::string("(none)");
  };
  HANDLE child = nullptr;
  DWORD id = StartSleepingChild("QelChild.EXE", &child);
  host.Open(form);
  list = host.NativeControl(form.lvwPrss);
  EXPECT_NE("(none)", pick("wine_tests.exe"));
  EXPECT_EQ(std::to_string(id), pick("qelchild.exe"));  // listed in lower case
  EXPECT_TRUE(form.List7.visible());  // the click showed the note

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

  // Ended behind the window's back: terminating it fails, and the row stays.
  TerminateProcess(child, 0);
  WaitForSingleObject(child, 5000);
  CloseHandle(child);
  // Wine lets a process object outlive its end by a moment.
  for (int i = 0; i < 100 && windows.platform().processes.Terminate(id) == kOk; ++i) Sleep(50);
  pick("qelchild.exe");
  form.cmdDelete_Click();
  EXPECT_EQ(std::to_string(id), pick("qelchild.exe"));
  ASSERT_FALSE(boxes.empty());
  EXPECT_NE(std::string::npos, boxes.back().find("\r\n"));  // the failure, after the name

  id = StartSleepingChild("QelChild.EXE", &child);
  form.cmdRefresh_Click();
  EXPECT_EQ(std::to_string(id), pick("qelchild.exe"));
  form.cmdDelete_Click();
  EXPECT_EQ("(none)", pick("qelchild.exe"));
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(child, 5000));
  CloseHandle(child);
  host.Close(form);
}

}  // namespace
}  // namespace qel::test
