// Shared set-up and checks for the platform contract tests. The checks
// return AssertionResult so that a failure names the caller's line.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "contract/contract_platform.h"

namespace qel::test {

constexpr std::uint32_t kKeyAllUsed = kKeyRead | kKeyWrite;

// Every contract test starts from clean scratch keys and an empty folder,
// and leaves nothing behind.
class ContractTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  RegistryApi& reg() { return machine_->platform().registry; }
  ProfileApi& profile() { return machine_->platform().profile; }
  FileSystemApi& files() { return machine_->platform().files; }
  SystemApi& sys() { return machine_->platform().system; }
  std::string Scratch() { return machine_->ScratchFolder(); }
  // kScratchKey, or a path below it.
  static std::string ScratchPath(const std::string& below = "");

  std::unique_ptr<ContractPlatform> machine_;
};

::testing::AssertionResult CreateKey(RegistryApi& reg, RegKey root, const std::string& path,
                                     RegKey* key, std::uint32_t access = kKeyAllUsed);
::testing::AssertionResult SetBytes(RegistryApi& reg, RegKey key, const std::string& name,
                                    std::uint32_t type, const std::string& bytes);
// Creates the key when missing and stores the value.
::testing::AssertionResult PutValue(RegistryApi& reg, RegKey root, const std::string& path,
                                    const std::string& name, std::uint32_t type,
                                    const std::string& bytes);
// Reads the value through a fresh key handle and compares type and bytes.
::testing::AssertionResult ExpectValue(RegistryApi& reg, RegKey root, const std::string& path,
                                       const std::string& name, std::uint32_t type,
                                       const std::string& bytes);
// Every value name of an open key, enumerated with ample buffers.
::testing::AssertionResult EnumNames(RegistryApi& reg, RegKey key, std::vector<std::string>* names);

}  // namespace qel::test
