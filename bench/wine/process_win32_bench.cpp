// The process monitor's fill under Wine: the real files and the real window,
// with 1,000 processes standing in for the few a test prefix runs.
// clang-format off
#include <windows.h>
// clang-format on

#include "../common/process_bench.h"

#include "platform/memory/memory_platform.h"
#include "platform/win32/win32_platform.h"
#include "ui/win32/win32_host.h"

using namespace qel;

int main() {
  win32::Win32Platform real;
  mem::CallMeter meter;
  mem::MemoryProcesses processes(&meter);
  processes.table = bench::ManyProcesses();
  Platform platform{real.platform().registry, real.platform().profile, real.platform().files,
                    real.platform().system, processes, real.platform().programs};
  char temp[MAX_PATH];
  const std::string folder = std::string(temp, GetTempPathA(MAX_PATH, temp)) + "qelmora-bench";
  CreateDirectoryA(folder.c_str(), nullptr);
  bench::WriteProcessFiles(platform, folder);
  win32::Win32Host host(GetModuleHandleA(nullptr));
  Form5 form(platform, host, folder);
  auto start = std::chrono::steady_clock::now();
  host.Open(form);
  host.DoEvents();
  std::printf("open   win32    the window with its first fill: %.1f ms\n",
              std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  double ms = bench::TimeFill(form);
  bench::ReportFill("win32", form, ms);
  host.Close(form);
  for (const char* name : {"\\morvane5.txt", "\\morvane4.txt"}) DeleteFileA((folder + name).c_str());
  DeleteFileA((real.platform().system.ProgramFolder() + "\\process.dll").c_str());
  RemoveDirectoryA(folder.c_str());
  return 0;
}
