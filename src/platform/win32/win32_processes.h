// The processes of the running Windows: Toolhelp, OpenProcess, TerminateProcess.
#pragma once

#include "platform/processes.h"

namespace qel::win32 {

class Processes : public ProcessApi {
 public:
  Status Snapshot(std::vector<ProcessEntry>* processes) override;
  Status Terminate(std::uint32_t id) override;
  std::uint32_t CurrentProcessId() override;
};

}  // namespace qel::win32
