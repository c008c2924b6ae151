// System facts and the shell in memory; code page 936 conversions are real.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/memory/call_meter.h"
#include "platform/memory/gbk_codec.h"
#include "platform/system.h"

namespace qel::mem {

struct ShellCall {
  std::uintptr_t owner;
  std::string operation, file, parameters, directory;
  int show;
};

class MemorySystem : public SystemApi {
 public:
  static constexpr char kSystemDirectory[] = "C:\\WINDOWS\\SYSTEM";
  static constexpr char kProgramFolder[] = "C:\\Program Files\\Qelmora";

  explicit MemorySystem(CallMeter* meter = nullptr) : meter_(meter) {}

  std::string SystemDirectory() override { return Tick(), kSystemDirectory; }
  std::string ProgramFolder() override { return Tick(), kProgramFolder; }
  // Above 32 is success.
  std::intptr_t ShellExecute(std::uintptr_t owner, const std::string& operation,
                             const std::string& file, const std::string& parameters,
                             const std::string& directory, int show) override {
    Tick();
    shellCalls.push_back({owner, operation, file, parameters, directory, show});
    return 42;
  }
  std::uint32_t AnsiCodePage() override { return Tick(), 936; }
  std::string ToAnsi(const std::string& utf8) override { return Tick(), Utf8ToGbk(utf8); }
  std::string FromAnsi(const std::string& ansi) override { return Tick(), GbkToUtf8(ansi); }

  std::vector<ShellCall> shellCalls;  // in order

 private:
  void Tick() {
    if (meter_) meter_->Tick();
  }

  CallMeter* meter_;
};

}  // namespace qel::mem
