// A process a Windows test may end: a copy of the test program itself, under
// a name of the test's choosing, that only sleeps.
#pragma once

#include <windows.h>

#include <string>

namespace qel::test {

// Runs before main in every test program that includes this header: the copy
// sleeps instead of running the tests, and ends itself in the end.
inline const bool kIsSleepingChild = [] {
  if (!GetEnvironmentVariableA("QEL_SLEEPING_CHILD", nullptr, 0)) return false;
  Sleep(60000);
  ExitProcess(0);
}();

// Starts the copy in the temporary folder; its ID, and its handle in *process.
inline DWORD StartSleepingChild(const std::string& exeName, HANDLE* process) {
  char self[MAX_PATH], temp[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string copy = std::string(temp, GetTempPathA(MAX_PATH, temp)) + exeName;
  CopyFileA(self, copy.c_str(), FALSE);  // fails harmlessly while an earlier copy runs
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  SetEnvironmentVariableA("QEL_SLEEPING_CHILD", "1");
  BOOL started = CreateProcessA(copy.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr,
                                nullptr, &startup, &info);
  SetEnvironmentVariableA("QEL_SLEEPING_CHILD", nullptr);
  if (!started) return 0;
  CloseHandle(info.hThread);
  *process = info.hProcess;
  return info.dwProcessId;
}

}  // namespace qel::test
