// A process table in memory: seeded by the test, emptied by termination.
#pragma once

#include <vector>

#include "platform/memory/call_meter.h"
#include "platform/processes.h"

namespace qel::mem {

class MemoryProcesses : public ProcessApi {
 public:
  explicit MemoryProcesses(CallMeter* meter = nullptr) : meter_(meter) {}

  Status Snapshot(std::vector<ProcessEntry>* processes) override;
  Status Terminate(std::uint32_t id) override;
  std::uint32_t CurrentProcessId() override;

  // Test-side controls.
  std::vector<ProcessEntry> table = {{4, "Qelmora.exe"}};
  std::uint32_t selfId = 4;
  Status snapshotFailure = kOk;   // the snapshot cannot be taken
  Status terminateFailure = kOk;  // e.g. kAccessDenied; the process keeps running

 private:
  void Tick() {
    if (meter_) meter_->Tick();
  }
  CallMeter* meter_;
};

}  // namespace qel::mem
