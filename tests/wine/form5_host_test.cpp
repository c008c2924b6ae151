// The process monitor on the real processes, shown by the real host.
#include <gtest/gtest.h>

#include "platform/win32/win32_platform.h"
#include "process/form5.h"
#include "support/child_process.h"
#include "wine/host_fixture.h"

namespace qel::test {
namespace {

int RowOf(const ui::ListView& list, const std::string& name) {
  for (int i = 0; i < list.ListCount(); ++i)
    if (list.Row(i)[1] == name) return i;
  return -1;
}

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
  HANDLE gone = nullptr, child = nullptr;
  DWORD goneId = StartSleepingChild("QelChild.EXE", &gone);
  host.Open(form);
  const HWND list = host.NativeControl(form.lvwPrss);
  EXPECT_GE(RowOf(form.lvwPrss, "wine_tests.exe"), 0);
  const int row = RowOf(form.lvwPrss, "qelchild.exe");  // listed in lower case
  ASSERT_GE(row, 0);
  EXPECT_EQ(std::to_string(goneId), ListViewText(list, row));
  EXPECT_EQ("qelchild.exe", ListViewText(list, row, 1));

  // Ended behind the window's back: terminating it fails, and the row stays.
  TerminateProcess(gone, 0);
  WaitForSingleObject(gone, 5000);
  CloseHandle(gone);
  // Wine lets a process object outlive its end by a moment.
  for (int i = 0; i < 100 && windows.platform().processes.Terminate(goneId) == kOk; ++i) Sleep(50);
  ListViewSetState(list, row, LVIS_SELECTED, LVIS_SELECTED);
  form.cmdDelete_Click();
  EXPECT_EQ("qelchild.exe", ListViewText(list, row, 1));
  EXPECT_NE(std::string::npos, boxes.back().find("qelchild.exe"));

  DWORD id = StartSleepingChild("QelChild.EXE", &child);
  form.cmdRefresh_Click();
  ListViewSetState(list, RowOf(form.lvwPrss, "qelchild.exe"), LVIS_SELECTED, LVIS_SELECTED);
  form.cmdDelete_Click();
  EXPECT_EQ(form.lvwPrss.ListCount(), ListViewCount(list));
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(child, 5000)) << id;
  CloseHandle(child);
  form.cmdRefresh_Click();
  EXPECT_EQ(-1, RowOf(form.lvwPrss, "qelchild.exe"));
  host.Close(form);
}

}  // namespace
}  // namespace qel::test
