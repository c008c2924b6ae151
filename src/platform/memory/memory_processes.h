// A process table in memory: seeded by the test, emptied by termination.
#pragma once

#include <vector>

#include "platform/memory/call_meter.h"
#include "platform/processes.h"

namespace qel::mem {

class MemoryProcesses : public ProcessApi {
 public:
  explicit MemoryProcesses(CallMeter* meter) : meter_(meter) {}

  Status Snapshot(std::vector<ProcessEntry>* processes) override {
    meter_->Tick();
    *processes = table;
    return kOk;
  }
  Status Terminate(std::uint32_t id) override {
    meter_->Tick();
    for (auto it = table.begin(); it != table.end(); ++it) {
      if (it->id != id) continue;
      if (terminateFailure == kOk) table.erase(it);
      return terminateFailure;
    }
    return kInvalidParameter;
  }
  std::uint32_t CurrentProcessId() override { return meter_->Tick(), selfId; }

  std::vector<ProcessEntry> table = {{4, "Qelmora.exe"}};
  std::uint32_t selfId = 4;
  Status terminateFailure = kOk;  // e.g. kAccessDenied: the process keeps running

 private:
  CallMeter* meter_;
};

}  // namespace qel::mem
