// System facts, the shell and the ANSI code page of the running Windows.
#pragma once

#include "platform/system.h"

namespace qel::win32 {

class System : public SystemApi {
 public:
  std::string SystemDirectory() override;
  std::string ProgramFolder() override;
  std::intptr_t ShellExecute(std::uintptr_t owner, const std::string& operation,
                             const std::string& file, const std::string& parameters,
                             const std::string& directory, int show) override;
  LocalTime Now() override;
  std::uint32_t AnsiCodePage() override;
  std::string ToAnsi(const std::string& utf8) override;
  std::string FromAnsi(const std::string& ansi) override;
};

}  // namespace qel::win32
