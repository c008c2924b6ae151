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

::testing::AssertionResult Succeeded(Status status, const char* call, const std::string& what) {
  if (status == kOk) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << call << " " << what << " gave " << status;
}

}  // namespace

::testing::AssertionResult CreateKey(RegistryApi& reg, RegKey root, const std::string& path,
                                     RegKey* key, std::uint32_t access) {
  return Succeeded(reg.CreateKey(root, path, access, key), "CreateKey", path);
}

::testing::AssertionResult SetBytes(RegistryApi& reg, RegKey key, const std::string& name,
                                    std::uint32_t type, const std::string& bytes) {
  return Succeeded(reg.SetValue(key, name, type, bytes.data(), std::uint32_t(bytes.size())),
                   "SetValue", name);
}

::testing::AssertionResult PutValue(RegistryApi& reg, RegKey root, const std::string& path,
                                    const std::string& name, std::uint32_t type,
                                    const std::string& bytes) {
  RegKey key = 0;
  ::testing::AssertionResult result = CreateKey(reg, root, path, &key);
  if (!result) return result;
  result = SetBytes(reg, key, name, type, bytes);
  reg.CloseKey(key);
  return result;
}

::testing::AssertionResult ExpectValue(RegistryApi& reg, RegKey root, const std::string& path,
                                       const std::string& name, std::uint32_t type,
                                       const std::string& bytes) {
  RegKey key = 0;
  ::testing::AssertionResult opened =
      Succeeded(reg.OpenKey(root, path, kKeyQueryValue, &key), "OpenKey", path);
  if (!opened) return opened;
  std::uint32_t foundType = 0;
  std::uint32_t size = 0;
  Status status = reg.QueryValue(key, name, &foundType, nullptr, &size);
  std::string data(size, '\0');
  if (status == kOk && size > 0) status = reg.QueryValue(key, name, &foundType, &data[0], &size);
  reg.CloseKey(key);
  if (status != kOk) return Succeeded(status, "QueryValue", name);
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
    if (status != kOk) return Succeeded(status, "EnumValue", std::to_string(index));
    names->emplace_back(name, length);
  }
}

}  // namespace qel::test
