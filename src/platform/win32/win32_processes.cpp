#include "platform/win32/win32_processes.h"

// tlhelp32.h needs windows.h before it.
// clang-format off
#include <windows.h>
#include <tlhelp32.h>
// clang-format on

#include <cstring>

// The ANSI record as Windows 98 and 2000 know it.
static_assert(sizeof(void*) != 4 || sizeof(PROCESSENTRY32) == 296, "PROCESSENTRY32 is 296 bytes");

namespace qel::win32 {
namespace {

Status LastError() { return static_cast<Status>(GetLastError()); }

}  // namespace

Status Processes::Snapshot(std::vector<ProcessEntry>* processes) {
  processes->clear();
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE || !snapshot) return LastError();
  PROCESSENTRY32 record;
  std::memset(&record, 0, sizeof(record));
  // The record's own size: Windows refuses any other, and 64-bit records are larger.
  record.dwSize = sizeof(record);
  Status status = kOk;
  BOOL got = Process32First(snapshot, &record);
  while (got) {
    const char* end =
        static_cast<const char*>(std::memchr(record.szExeFile, '\0', sizeof(record.szExeFile)));
    std::size_t length = end ? std::size_t(end - record.szExeFile) : sizeof(record.szExeFile);
    processes->push_back({record.th32ProcessID, std::string(record.szExeFile, length)});
    got = Process32Next(snapshot, &record);
  }
  if (GetLastError() != ERROR_NO_MORE_FILES) status = LastError();
  CloseHandle(snapshot);
  return status;
}

Status Processes::Terminate(std::uint32_t id) {
  HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, id);
  if (!process) return LastError();
  Status status = TerminateProcess(process, 0) ? kOk : LastError();
  CloseHandle(process);
  return status;
}

std::uint32_t Processes::CurrentProcessId() { return GetCurrentProcessId(); }

}  // namespace qel::win32
