#include "contract/contract_helpers.h"

#include <cstdio>

namespace qel::test {

void ContractTest::SetUp() {
  machine_ = MakeContractPlatform();
  machine_->ResetRegistry();
}

void ContractTest::TearDown() {
  machine_->ResetRegistry();
  machine_.reset();
}

std::string ContractTest::ScratchPath(const std::string& below) {
  return below.empty() ? std::string(kScratchKey) : std::string(kScratchKey) + "\\" + below;
}

namespace {

// Bytes shown as hex, for failure messages.
std::string Hex(const std::string& bytes) {
  std::string out;
  char pair[4];
  for (unsigned char c : bytes) {
    std::snprintf(pair, sizeof(pair), "%02X ", c);
    out += pair;
  }
  if (out.size() > 96) out = out.substr(0, 96) + "... (" + std::to_string(bytes.size()) + ")";
  return out;
}

}  // namespace

::testing::AssertionResult CreateKey(RegistryApi& reg, RegKey root, const std::string& path,
                                     RegKey* key, std::uint32_t access) {
  Status status = reg.CreateKey(root, path, access, key);
  if (status != kOk) {
    return ::testing::AssertionFailure() << "CreateKey " << path << " gave " << status;
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult SetBytes(RegistryApi& reg, RegKey key, const std::string& name,
                                    std::uint32_t type, const std::string& bytes) {
  Status status =
      reg.SetValue(key, name, type, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
  if (status != kOk) {
    return ::testing::AssertionFailure() << "SetValue " << name << " gave " << status;
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult PutValue(RegistryApi& reg, RegKey root, const std::string& path,
                                    const std::string& name, std::uint32_t type,
                                    const std::string& bytes) {
  RegKey key = 0;
  ::testing::AssertionResult created = CreateKey(reg, root, path, &key);
  if (!created) return created;
  ::testing::AssertionResult set = SetBytes(reg, key, name, type, bytes);
  reg.CloseKey(key);
  return set;
}

::testing::AssertionResult ExpectValue(RegistryApi& reg, RegKey root, const std::string& path,
                                       const std::string& name, std::uint32_t type,
                                       const std::string& bytes) {
  RegKey key = 0;
  Status status = reg.OpenKey(root, path, kKeyQueryValue, &key);
  if (status != kOk) {
    return ::testing::AssertionFailure() << "OpenKey " << path << " gave " << status;
  }
  std::uint32_t foundType = 0;
  std::uint32_t size = 0;
  status = reg.QueryValue(key, name, &foundType, nullptr, &size);
  std::string data(size, '\0');
  if (status == kOk && size > 0) status = reg.QueryValue(key, name, &foundType, &data[0], &size);
  reg.CloseKey(key);
  if (status != kOk) {
    return ::testing::AssertionFailure() << "QueryValue " << name << " gave " << status;
  }
  data.resize(size);
  if (foundType != type || data != bytes) {
    return ::testing::AssertionFailure()
           << "value " << name << " is type " << foundType << " [" << Hex(data)
           << "], expected type " << type << " [" << Hex(bytes) << "]";
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult EnumNames(RegistryApi& reg, RegKey key,
                                     std::vector<std::string>* names) {
  names->clear();
  for (std::uint32_t index = 0;; ++index) {
    char name[16384];
    std::uint32_t length = sizeof(name);
    Status status = reg.EnumValue(key, index, name, &length, nullptr, nullptr, nullptr);
    if (status == kNoMoreItems) return ::testing::AssertionSuccess();
    if (status != kOk) {
      return ::testing::AssertionFailure() << "EnumValue " << index << " gave " << status;
    }
    names->emplace_back(name, length);
  }
}

}  // namespace qel::test
