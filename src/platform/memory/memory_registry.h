// The registry as Windows NT keeps it, in memory: case-insensitive names,
// values in creation order, access rights checked per handle.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/memory/call_meter.h"
#include "platform/registry.h"

namespace qel::mem {

class MemoryRegistry : public RegistryApi {
 public:
  explicit MemoryRegistry(CallMeter* meter = nullptr);
  ~MemoryRegistry() override;

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
  Status DeleteKey(RegKey root, const std::string& subKey) override;
  Status UnrepresentableValues(RegKey key, std::vector<std::uint32_t>* indices) override;

  // Test-side controls: not platform calls, never metered. root is
  // kHkeyCurrentUser or kHkeyLocalMachine; paths are relative to it.
  void Put(RegKey root, const std::string& path, const std::string& name, std::uint32_t type,
           const std::string& bytes);
  // Stores text plus its terminating NUL.
  void PutString(RegKey root, const std::string& path, const std::string& name,
                 const std::string& text, std::uint32_t type = kRegSz);
  void PutDword(RegKey root, const std::string& path, const std::string& name, std::uint32_t value);
  bool Get(RegKey root, const std::string& path, const std::string& name, std::uint32_t* type,
           std::string* bytes) const;
  bool HasKey(RegKey root, const std::string& path) const;
  bool HasValue(RegKey root, const std::string& path, const std::string& name) const;
  // Value names in enumeration order; empty when the key is missing.
  std::vector<std::string> ValueNames(RegKey root, const std::string& path) const;
  void AddKey(RegKey root, const std::string& path);
  // Removes a key with everything below it.
  void RemoveKey(RegKey root, const std::string& path);
  // Creating or opening exactly this key with any write right, setting or
  // deleting its values, creating keys directly below it or deleting it
  // fail with kAccessDenied, as under an ACL that grants only reading.
  void DenyWrite(RegKey root, const std::string& path, bool deny);
  // Every open or create of exactly this key fails with kAccessDenied.
  void DenyAccess(RegKey root, const std::string& path, bool deny);
  // Makes an existing value one whose true name the code page cannot hold:
  // it still enumerates as name (its '?' form), but no call naming it
  // reaches it, and UnrepresentableValues reports it.
  void MakeNameUnrepresentable(RegKey root, const std::string& path, const std::string& name);

  struct Node;

 private:
  struct Handle {
    std::shared_ptr<Node> node;
    std::uint32_t access;
  };

  using Denials = std::set<std::pair<RegKey, std::string>>;

  // The node a predefined root or open handle stands for, or null.
  std::shared_ptr<Node> Resolve(RegKey key) const;
  // The node behind an open handle that carries the right, with the status
  // Windows gives when it does not.
  Status Lookup(RegKey key, std::uint32_t right, std::shared_ptr<Node>* node) const;
  std::shared_ptr<Node> Find(const std::shared_ptr<Node>& from, const std::string& path) const;
  std::shared_ptr<Node> Make(RegKey root, const std::string& path);
  static bool Denied(const Denials& denials, const Node& node);
  static void SetDenied(Denials* denials, RegKey root, const std::string& path, bool deny);
  RegKey NewHandle(std::shared_ptr<Node> node, std::uint32_t access);
  void Tick();

  CallMeter* meter_;
  std::shared_ptr<Node> currentUser_;
  std::shared_ptr<Node> localMachine_;
  std::map<RegKey, Handle> handles_;
  RegKey nextHandle_ = 0x1000;
  // Denials are kept by folded path so that they hold for keys created later.
  Denials writeDenied_;
  Denials accessDenied_;
};

}  // namespace qel::mem
