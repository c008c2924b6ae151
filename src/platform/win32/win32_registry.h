// The registry calls of advapi32.
#pragma once

#include "platform/registry.h"

namespace qel::win32 {

class Registry : public RegistryApi {
 public:
  Status OpenKey(RegKey root, const std::string& subKey, std::uint32_t access,
                 RegKey* key) override;
  Status CreateKey(RegKey root, const std::string& subKey, std::uint32_t access,
                   RegKey* key) override;
  Status CloseKey(RegKey key) override;
  Status QueryValue(RegKey key, const std::string& name, std::uint32_t* type, void* data,
                    std::uint32_t* size) override;
  Status SetValue(RegKey key, const std::string& name, std::uint32_t type, const void* data,
                  std::uint32_t size) override;
  Status DeleteValue(RegKey key, const std::string& name) override;
  Status EnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameLength,
                   std::uint32_t* type, void* data, std::uint32_t* dataLength) override;
  std::uint32_t OtherView() override;
  Status KeyIdentity(RegKey key, std::string* identity) override;
  Status DeleteKey(RegKey root, const std::string& subKey) override;
  Status UnrepresentableValues(RegKey key, std::vector<std::uint32_t>* indices) override;

 private:
  bool otherViewKnown_ = false;
  std::uint32_t otherView_ = 0;
};

}  // namespace qel::win32
