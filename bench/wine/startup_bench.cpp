// The main window on the real Win32 calls (run under Wine): from nothing to a
// painted window with 1,000 and 10,000 entries, next to a bare window; and one
// List1 selection at 10,000 rows.

// windows.h first: its A/W macros must rename the platform interfaces and their
// Win32 implementations alike; commctrl.h needs it too.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include "../common/startup_bench.h"

#include <algorithm>
#include <cstdio>
#include <functional>

#include "platform/win32/win32_platform.h"
#include "ui/win32/win32_host.h"

using namespace qel;

namespace {

constexpr char kPanelKey[] = "Software\\Policies\\Microsoft\\Internet Explorer\\Control Panel";

// Runs what is queued, paints included.
void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

double BareWindowMs(HINSTANCE instance) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = instance;
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = "BareBenchWindow";
  RegisterClassA(&windowClass);
  bench::Clock::time_point start = bench::Clock::now();
  HWND hwnd = CreateWindowExA(0, "BareBenchWindow", "bare", WS_OVERLAPPEDWINDOW, 100, 100, 644, 488,
                              nullptr, nullptr, instance, nullptr);
  ShowWindow(hwnd, SW_SHOWNORMAL);
  UpdateWindow(hwnd);
  Pump();
  double ms = bench::MillisecondsSince(start);
  DestroyWindow(hwnd);
  Pump();
  return ms;
}

// A returning user: no web site opens during the load.
void MarkFirstRunDone() {
  HKEY key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kPanelKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return;
  DWORD one = 1;
  RegSetValueExA(key, "OpenMyHomePage", 0, REG_DWORD, reinterpret_cast<BYTE*>(&one), sizeof one);
  RegCloseKey(key);
}

void SelectRow(HWND list, int row) {
  LVITEMA item = {};
  item.state = item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(list, LVM_SETITEMSTATE, WPARAM(row), LPARAM(&item));
}

}  // namespace

int main() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  win32::Win32Platform real;
  Platform& platform = real.platform();
  MarkFirstRunDone();

  double bare = 1e9;
  for (int run = 0; run < 3; ++run) bare = std::min(bare, BareWindowMs(instance));
  std::printf("window bare Win32 window, created to painted:        %8.1f ms (best of 3)\n", bare);

  win32::Win32Host host(instance);
  for (int count : {1000, 10000}) {
    bench::ClearManagedKeys(platform);
    bench::SeedValues(platform, count);
    int rows = 0;
    double scan = bench::TimeLoad(platform, &rows);  // the load alone, without windows

    bench::Clock::time_point start = bench::Clock::now();
    Form1 form(platform, host);
    host.Open(form);  // create, Form_Load (the scan), show
    UpdateWindow(host.NativeWindow(form));
    host.DoEvents();
    double visible = bench::MillisecondsSince(start);
    std::printf("window Form1 %6d entries, start to painted:       %8.1f ms (load alone %.1f ms)\n",
                form.List1.ListCount(), visible, scan);

    if (count == 10000) {
      // Time inside the window's handler (List1_Click and what it reflects)
      // apart from the whole round trip, which includes the list view's own work.
      HWND list = host.NativeControl(form.List1);
      std::function<void()> click = form.List1.Click;
      double inHandler = 0;
      form.List1.Click = [&] {
        bench::Clock::time_point begin = bench::Clock::now();
        click();
        inHandler += bench::MillisecondsSince(begin);
      };
      const int selections = 50;
      start = bench::Clock::now();
      for (int i = 0; i < selections; ++i) {
        SelectRow(list, (i * 197) % form.List1.ListCount());
        host.DoEvents();
      }
      double each = bench::MillisecondsSince(start) / selections;
      std::printf(
          "select List1 row at %d rows, click to refreshed:  %8.3f ms (mean of %d; %.3f ms in "
          "List1_Click)\n",
          form.List1.ListCount(), each, selections, inHandler / selections);
    }
    host.Close(form);
    host.DoEvents();
  }
  bench::ClearManagedKeys(platform);
  return 0;
}
