// System facts and the shell in memory; code page 936 conversions are real.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/memory/call_meter.h"
#include "platform/system.h"

namespace qel::mem {

struct ShellCall {
  std::uintptr_t owner;
  std::string operation;
  std::string file;
  std::string parameters;
  std::string directory;
  int show;
};

class MemorySystem : public SystemApi {
 public:
  // What ShellExecute reports: above 32 is success.
  static constexpr std::intptr_t kShellResult = 42;
  static constexpr char kSystemDirectory[] = "C:\\WINDOWS\\SYSTEM";
  static constexpr char kProgramFolder[] = "C:\\Program Files\\Qelmora";

  explicit MemorySystem(CallMeter* meter = nullptr) : meter_(meter) {}

  std::string SystemDirectory() override;
  std::string ProgramFolder() override;
  std::intptr_t ShellExecute(std::uintptr_t owner, const std::string& operation,
                             const std::string& file, const std::string& parameters,
                             const std::string& directory, int show) override;
  std::uint32_t AnsiCodePage() override;
  std::string ToAnsi(const std::string& utf8) override;
  std::string FromAnsi(const std::string& ansi) override;

  // Every ShellExecute call, in order.
  std::vector<ShellCall> shellCalls;

 private:
  void Tick() {
    if (meter_) meter_->Tick();
  }

  CallMeter* meter_;
};

}  // namespace qel::mem
