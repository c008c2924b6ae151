// The process monitor on the real host, clicked with the mouse: once a click
// beside the columns takes the highlight away, 强行中止 ends nothing.
// commctrl.h needs windows.h before it.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <gtest/gtest.h>

#include "platform/memory/memory_platform.h"
#include "platform/win32/win32_platform.h"
#include "process/form5.h"
#include "ui/win32/win32_host.h"

namespace qel::test {
namespace {

void ClickAt(HWND control, int x, int y) {
  SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  SendMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

TEST(Form5OnWine, TheDeleteButtonEndsNothingOnceTheHighlightIsGone) {
  win32::Win32Platform real;
  mem::CallMeter meter;
  mem::MemoryProcesses processes(&meter);
  processes.table = {{4, "self.exe"}, {8, "a.exe"}, {12, "b.exe"}};
  Platform platform{real.platform().registry, real.platform().profile, real.platform().files,
                    real.platform().system, processes};
  char temp[MAX_PATH];
  const std::string folder = std::string(temp, GetTempPathA(MAX_PATH, temp)) + "qelmora-form5";
  CreateDirectoryA(folder.c_str(), nullptr);
  win32::Win32Host host(GetModuleHandleA(nullptr));
  int asked = 0;
  host.messageBoxHook = [&](const std::string&, int, const std::string&) { return ++asked, IDYES; };
  Form5 form(platform, host, folder);
  host.Open(form);
  host.DoEvents();
  HWND list = host.NativeControl(form.lvwPrss);
  RECT row = {LVIR_BOUNDS, 0, 0, 0}, client;
  SendMessageA(list, LVM_GETITEMRECT, 1, LPARAM(&row));
  GetClientRect(list, &client);
  ClickAt(list, 8, (row.top + row.bottom) / 2);
  EXPECT_TRUE(form.cmdDelete.enabled());
  // Right of the columns, on that row; the note display lies over the middle.
  ClickAt(list, client.right - 4, (row.top + row.bottom) / 2);
  host.DoEvents();
  SendMessageA(host.NativeControl(form.cmdDelete), BM_CLICK, 0, 0);
  EXPECT_EQ(asked, 0);
  EXPECT_EQ(processes.table.size(), 3u);
  EXPECT_EQ(form.lvwPrss.ListCount(), 3);
  host.Close(form);
  DeleteFileA((folder + "\\morvane4.txt").c_str());
  RemoveDirectoryA(folder.c_str());
}

}  // namespace
}  // namespace qel::test
