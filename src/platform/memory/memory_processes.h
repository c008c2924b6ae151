// The call meter every part of the in-memory Windows shares, and its process table:
// seeded by the test, emptied by termination.
#pragma once

#include <algorithm>
#include <vector>

#include "platform/processes.h"

namespace qel::mem {

// Thrown by a platform call once the budget is spent, before the call does anything.
struct PowerCut {};

// Counts the calls made into the in-memory platform and cuts the power after a budget, so
// that tests can stop a multi-step write at every step.
struct CallMeter {
  // Called first by every platform call.
  void Tick() {
    if (budget == 0) throw PowerCut{};
    budget -= budget > 0;
    ++count;
  }
  long budget = -1;  // calls that still succeed; -1: no limit
  long count = 0;
};

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
    auto it = std::find_if(table.begin(), table.end(), [&](auto& p) { return p.id == id; });
    if (it == table.end()) return kInvalidParameter;
    if (terminateFailure == kOk) table.erase(it);
    return terminateFailure;
  }
  std::uint32_t CurrentProcessId() override { return meter_->Tick(), selfId; }

  std::vector<ProcessEntry> table = {{4, "Qelmora.exe"}};
  std::uint32_t selfId = 4;
  Status terminateFailure = kOk;  // e.g. kAccessDenied: the process keeps running

 private:
  CallMeter* meter_;
};

}  // namespace qel::mem
