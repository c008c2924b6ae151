// What the platform contract tests run against: the in-memory Windows
// natively, the real one under Wine.
#pragma once

#include <memory>
#include <string>

#include "platform/platform.h"

namespace qel::test {

// The scratch keys every contract test confines itself to.
constexpr char kScratchKey[] = "Software\\QelmoraContract";

struct ContractPlatform {
  virtual ~ContractPlatform();
  virtual Platform& platform() = 0;
  // An empty folder for file tests, ANSI, without a trailing backslash; it
  // and everything in it go away with this object.
  virtual std::string ScratchFolder() = 0;
  // Removes kScratchKey with everything below it under both roots.
  virtual void ResetRegistry() = 0;
  // Starts a process named exeName that the test may end; its ID.
  virtual std::uint32_t StartProcess(const std::string& exeName) = 0;
};

std::unique_ptr<ContractPlatform> MakeContractPlatform();

}  // namespace qel::test
