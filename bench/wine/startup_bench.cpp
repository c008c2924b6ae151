// The main window on the real Win32 calls (run under Wine): from nothing to a
// painted window with 1,000 and 10,000 entries, next to a bare window and
// broken down; one List1 selection, one check-mark toggle and one keystroke in
// Text2 at 100 and at 10,000 rows; and the memory the real program holds with
// 10,000 entries.

// windows.h first: its A/W macros must rename the platform interfaces and their
// Win32 implementations alike; commctrl.h needs it too.
// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>
// clang-format on

#include "../common/startup_bench.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

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

void SetItemState(HWND list, int row, UINT state, UINT mask) {
  LVITEMA item = {};
  item.state = state;
  item.stateMask = mask;
  SendMessageA(list, LVM_SETITEMSTATE, WPARAM(row), LPARAM(&item));
}

// Form1 with its load timed apart from the window around it.
class TimedForm1 : public Form1 {
 public:
  using Form1::Form1;
  void Form_Load() override {
    loadStart = bench::Clock::now();
    Form1::Form_Load();
    loadMs = bench::MillisecondsSince(loadStart);
  }
  bench::Clock::time_point loadStart;
  double loadMs = 0;
};

// Wraps an event to add up the time spent in it (the handler and whatever
// the host reflects while it runs).
void TimeEvent(std::function<void()>& event, double* total) {
  std::function<void()> inner = event;
  event = [inner, total] {
    bench::Clock::time_point begin = bench::Clock::now();
    inner();
    *total += bench::MillisecondsSince(begin);
  };
}

double Median(std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  return samples[samples.size() / 2];
}

struct ClickFigure {
  double total = 0, handler = 0;  // medians, ms
};

// Runs action n times, each followed by the messages it queued (the repaint);
// the median of each run's total, and of the handler time inside it.
ClickFigure TimeClicks(win32::Win32Host& host, int n, const std::function<void(int)>& action,
                       double* handlerTotal) {
  std::vector<double> totals, handlers;
  for (int i = 0; i < n; ++i) {
    *handlerTotal = 0;
    bench::Clock::time_point start = bench::Clock::now();
    action(i);
    host.DoEvents();
    totals.push_back(bench::MillisecondsSince(start));
    handlers.push_back(*handlerTotal);
  }
  return {Median(totals), Median(handlers)};
}

// One selection, one toggle and one keystroke, on rows the user can see: the
// list is scrolled to its middle first, as a user would scroll to a row.
struct Clicks {
  ClickFigure select, toggle, type, typeShown;
};

Clicks MeasureClicks(win32::Win32Host& host, Form1& form) {
  const int count = form.List1.ListCount(), middle = count / 2, n = 41;
  HWND list = host.NativeControl(form.List1);
  HWND edit = host.NativeControl(form.Text2);
  double inHandler = 0;
  TimeEvent(form.List1.Click, &inHandler);
  TimeEvent(form.Text2.Change, &inHandler);
  SendMessageA(list, LVM_ENSUREVISIBLE, WPARAM(middle + 8), FALSE);
  SendMessageA(list, LVM_ENSUREVISIBLE, WPARAM(middle), FALSE);
  host.DoEvents();

  Clicks clicks;
  clicks.select = TimeClicks(host, n, [&](int i) {
    SetItemState(list, middle + i % 8, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  }, &inHandler);
  clicks.toggle = TimeClicks(host, n, [&](int i) {
    int row = middle + i % 8;
    UINT image = form.List1.Selected(row) ? INDEXTOSTATEIMAGEMASK(1) : INDEXTOSTATEIMAGEMASK(2);
    SetItemState(list, row, image, LVIS_STATEIMAGEMASK);
  }, &inHandler);
  // Typing at the end of the command line, then taking the letter back; first
  // with List4 where it was (the row out of sight), then with the row shown.
  auto type = [&](int i) {
    int length = GetWindowTextLengthA(edit);
    if (i % 2 == 0) {
      SendMessageA(edit, EM_SETSEL, length, length);
      SendMessageA(edit, EM_REPLACESEL, TRUE, LPARAM("x"));
    } else {
      SendMessageA(edit, EM_SETSEL, length - 1, length);
      SendMessageA(edit, EM_REPLACESEL, TRUE, LPARAM(""));
    }
  };
  clicks.type = TimeClicks(host, n, type, &inHandler);
  SendMessageA(host.NativeControl(form.List4), LB_SETTOPINDEX, WPARAM(form.List1.ListIndex()), 0);
  host.DoEvents();
  clicks.typeShown = TimeClicks(host, n, type, &inHandler);
  return clicks;
}

void ReportClicks(const char* what, int rows100, const ClickFigure& at100, int rows10k,
                  const ClickFigure& at10k) {
  std::printf(
      "%-24s %5d rows %7.3f ms (handler %.3f) | %5d rows %7.3f ms (handler %.3f) | "
      "ratio %.2f\n",
      what, rows100, at100.total, at100.handler, rows10k, at10k.total, at10k.handler,
      at10k.total / at100.total);
}

HWND VisibleWindowOf(DWORD processId) {
  struct Search {
    DWORD processId;
    HWND found;
  } search = {processId, nullptr};
  EnumWindows(
      [](HWND hwnd, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        if (owner != s->processId || !IsWindowVisible(hwnd)) return TRUE;
        s->found = hwnd;
        return FALSE;
      },
      LPARAM(&search));
  return search.found;
}

// Starts the real program with the entries seeded, waits until its window is
// up and idle, reads the process's peak working set from outside, and closes
// it with its close box (which writes nothing).
void ReportProgramMemory(const std::string& exe, int entries) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  std::string command = "\"" + exe + "\"";
  if (!CreateProcessA(exe.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    std::printf("memory  cannot start %s (error %lu)\n", exe.c_str(), GetLastError());
    return;
  }
  WaitForInputIdle(process.hProcess, 60000);
  HWND window = nullptr;
  for (int tries = 0; tries < 600 && !window; ++tries) {
    Sleep(100);
    window = VisibleWindowOf(process.dwProcessId);
  }
  WaitForInputIdle(process.hProcess, 60000);
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  if (window && GetProcessMemoryInfo(process.hProcess, &counters, sizeof counters)) {
    std::printf("memory  Qelmora.exe with %d entries, window up: peak working set %.1f MB "
                "(working set %.1f MB, private %.1f MB)\n",
                entries, counters.PeakWorkingSetSize / 1048576.0,
                counters.WorkingSetSize / 1048576.0, counters.PagefileUsage / 1048576.0);
  } else {
    std::printf("memory  no figure: window %p, error %lu\n", static_cast<void*>(window),
                GetLastError());
  }
  if (window) PostMessageA(window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0)
    TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

std::string ProgramBesideBench() {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  folder.resize(folder.rfind('\\'));  // .../bench
  folder.resize(folder.rfind('\\'));  // the build folder
  return folder + "\\Qelmora.exe";
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
  Clicks at100, at10k;
  for (int count : {100, 1000, 10000}) {
    bench::ClearManagedKeys(platform);
    bench::SeedValues(platform, count);
    int rows = 0;
    double scan = 1e9;
    for (int run = 0; run < 3; ++run) scan = std::min(scan, bench::TimeLoad(platform, &rows));

    bench::Clock::time_point start = bench::Clock::now();
    TimedForm1 form(platform, host);
    host.Open(form);  // create, Form_Load (the scan), show
    double shown = bench::MillisecondsSince(start);
    UpdateWindow(host.NativeWindow(form));
    host.DoEvents();
    double visible = bench::MillisecondsSince(start);
    double created = std::chrono::duration<double, std::milli>(form.loadStart - start).count();
    if (count >= 1000) {
      std::printf(
          "window Form1 %6d entries, start to painted:       %8.1f ms; goal <= load alone + 3 x "
          "bare = %.1f ms\n"
          "         window and controls %.1f ms, Form_Load %.1f ms (load alone %.1f ms, list "
          "fill %.1f ms), show and paint %.1f ms\n",
          rows, visible, scan + 3 * bare, created, form.loadMs, scan, form.loadMs - scan,
          visible - created - form.loadMs);
    }
    if (count == 100) at100 = MeasureClicks(host, form);
    if (count == 10000) at10k = MeasureClicks(host, form);
    host.Close(form);
    host.DoEvents();
    (void)shown;
  }
  std::printf("click, to refreshed (median of 41; handler = the event handler with what it reflects):\n");
  ReportClicks("select", 100, at100.select, 10000, at10k.select);
  ReportClicks("toggle", 100, at100.toggle, 10000, at10k.toggle);
  ReportClicks("type", 100, at100.type, 10000, at10k.type);
  ReportClicks("type, row shown in List4", 100, at100.typeShown, 10000, at10k.typeShown);

  bench::ClearManagedKeys(platform);
  bench::SeedValues(platform, 10000);
  ReportProgramMemory(ProgramBesideBench(), 10000);
  bench::ClearManagedKeys(platform);
  return 0;
}
