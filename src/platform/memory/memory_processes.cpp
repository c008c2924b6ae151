#include "platform/memory/memory_processes.h"

namespace qel::mem {

Status MemoryProcesses::Snapshot(std::vector<ProcessEntry>* processes) {
  Tick();
  processes->clear();
  if (snapshotFailure != kOk) return snapshotFailure;
  *processes = table;
  return kOk;
}

Status MemoryProcesses::Terminate(std::uint32_t id) {
  Tick();
  for (auto it = table.begin(); it != table.end(); ++it) {
    if (it->id != id) continue;
    if (terminateFailure != kOk) return terminateFailure;
    table.erase(it);
    return kOk;
  }
  return kInvalidParameter;
}

std::uint32_t MemoryProcesses::CurrentProcessId() {
  Tick();
  return selfId;
}

}  // namespace qel::mem
