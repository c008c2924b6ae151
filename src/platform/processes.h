// The running processes: a snapshot of (ID, executable name) and termination.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/status.h"

namespace qel {

// Windows' answer to OpenProcess for an ID that names no running process.
constexpr Status kInvalidParameter = 87;

struct ProcessEntry {
  std::uint32_t id = 0;
  std::string exeName;  // ANSI bytes, as the system gives them, up to the first NUL
};

class ProcessApi {
 public:
  virtual ~ProcessApi() = default;

  // Every process, in the order the system lists them. On failure the list
  // holds what was read before it.
  virtual Status Snapshot(std::vector<ProcessEntry>* processes) = 0;
  // Opens the process for termination and ends it with exit code 0.
  virtual Status Terminate(std::uint32_t id) = 0;
  virtual std::uint32_t CurrentProcessId() = 0;
};

}  // namespace qel
