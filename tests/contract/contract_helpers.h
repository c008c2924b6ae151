// The platform contract tests: the same cases on the in-memory Windows
// natively and on the real one under Wine, so that the double behaves as the
// real calls do wherever the program relies on it.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "platform/platform.h"

namespace qel::test {

// The scratch keys every contract test confines itself to.
constexpr char kScratchKey[] = "Software\\QelmoraContract";

// Removes the scratch keys under both roots when made and when destroyed.
struct ContractPlatform {
  virtual ~ContractPlatform() = default;
  virtual Platform& platform() = 0;
  // Starts a process named exeName that the test may end; its ID.
  virtual std::uint32_t StartProcess(const std::string& exeName) = 0;
  std::string folder;  // empty, ANSI, no trailing backslash; goes with this object
};

std::unique_ptr<ContractPlatform> MakeContractPlatform();

class ContractTest : public ::testing::Test {
 protected:
  // A path in the scratch folder.
  std::string At(const std::string& name) { return machine_->folder + "\\" + name; }

  std::unique_ptr<ContractPlatform> machine_ = MakeContractPlatform();
  Platform& api = machine_->platform();
  RegistryApi& reg = api.registry;
  FileSystemApi& files = api.files;
};

}  // namespace qel::test
