// System facts, the shell, and the ANSI code page conversion.
#pragma once

#include <cstdint>
#include <string>

#include "platform/status.h"

// windows.h maps these names to their A/W forms; here they name our own.
#ifdef ShellExecute
#undef ShellExecute
#endif

namespace qel {

struct LocalTime {
  int year, month, day, hour, minute, second;
};

class SystemApi {
 public:
  virtual ~SystemApi() = default;

  // GetSystemDirectoryA, without a trailing backslash.
  virtual std::string SystemDirectory() = 0;
  // The folder of the running program, without a trailing backslash.
  virtual std::string ProgramFolder() = 0;
  // ShellExecuteA; returns its result (> 32 is success).
  virtual std::intptr_t ShellExecute(std::uintptr_t owner, const std::string& operation,
                                     const std::string& file, const std::string& parameters,
                                     const std::string& directory, int show) = 0;
  // GetLocalTime.
  virtual LocalTime Now() = 0;
  // The ANSI code page in force (GetACP).
  virtual std::uint32_t AnsiCodePage() = 0;
  // UTF-8 source text to the ANSI code page, and back.
  virtual std::string ToAnsi(const std::string& utf8) = 0;
  virtual std::string FromAnsi(const std::string& ansi) = 0;
};

}  // namespace qel
