// An in-memory Windows: registry, Win.ini, files, system facts and processes behind the
// platform seam, with switches for faults and a power cut after n calls. Names match
// case-insensitively on ANSI (GBK) bytes. The test-side controls are not platform calls
// and never counted.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/memory/call_meter.h"
#include "platform/memory/memory_processes.h"
#include "platform/memory/memory_system.h"
#include "platform/platform.h"

namespace qel::mem {

// The registry as Windows NT keeps it: values in creation order, rights checked per handle.
class MemoryRegistry : public RegistryApi {
 public:
  explicit MemoryRegistry(CallMeter* meter = nullptr) : meter_(meter) {}

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

  // Test-side controls; root is kHkeyCurrentUser or kHkeyLocalMachine.
  void Put(RegKey root, const std::string& path, const std::string& name, std::uint32_t type,
           const std::string& bytes);
  // Stores text plus its terminating NUL.
  void PutString(RegKey root, const std::string& path, const std::string& name,
                 const std::string& text, std::uint32_t type = kRegSz) {
    Put(root, path, name, type, text + '\0');
  }
  void PutDword(RegKey root, const std::string& path, const std::string& name,
                std::uint32_t value) {
    Put(root, path, name, kRegDword, std::string(reinterpret_cast<char*>(&value), 4));
  }
  bool Get(RegKey root, const std::string& path, const std::string& name, std::uint32_t* type,
           std::string* bytes) const;
  bool HasKey(RegKey root, const std::string& path) const { return keys_.count(Id(root, path)); }
  bool HasValue(RegKey root, const std::string& path, const std::string& name) const {
    return Get(root, path, name, nullptr, nullptr);
  }
  // Value names in enumeration order; empty when the key is missing.
  std::vector<std::string> ValueNames(RegKey root, const std::string& path) const;
  void AddKey(RegKey root, const std::string& path) { Make(root, path); }
  // Removes a key with everything below it.
  void RemoveKey(RegKey root, const std::string& path);
  // The key (made if missing) refuses, with kAccessDenied, opening with any write right,
  // setting or deleting values, new keys below it and its deletion: an ACL that grants reading.
  void DenyWrite(RegKey root, const std::string& path, bool deny) {
    Make(root, path)->denyWrite = deny;
  }
  // Every open or create of the key fails with kAccessDenied.
  void DenyAccess(RegKey root, const std::string& path, bool deny) {
    Make(root, path)->denyAccess = deny;
  }
  // The value's true name is one the code page cannot hold: it still enumerates as name
  // (its '?' form), no call naming it reaches it, and UnrepresentableValues reports it.
  void MakeNameUnrepresentable(RegKey root, const std::string& path, const std::string& name);

 private:
  struct Value {
    std::string name;
    std::uint32_t type;
    std::string data;
    bool unrepresentable = false;
  };
  struct Key {
    std::vector<Value> values;  // in enumeration order: removing one moves the later ones up
    bool denyWrite = false, denyAccess = false;
  };

  // A key's place in keys_: its root, then each folded part after a '\n' (which no name
  // holds and which sorts before every character one does: subkeys follow their key).
  // Empty for a bad handle.
  std::string Id(RegKey root, const std::string& path) const;
  Key* Make(RegKey root, const std::string& path);
  // Counts the call, then finds the key behind a handle that carries the right.
  Status Call(RegKey key, std::uint32_t right, Key** node);
  Status Open(RegKey root, const std::string& subKey, std::uint32_t access, RegKey* key,
              bool create);
  static Value* Find(const Key& key, const std::string& name);

  CallMeter* meter_;
  std::map<std::string, Key> keys_ = {{"U", {}}, {"M", {}}};
  std::map<RegKey, std::pair<std::string, std::uint32_t>> handles_;  // key's Id, access
  RegKey nextHandle_ = 0x1000;
};

// Win.ini's sections of keys.
class MemoryProfile : public ProfileApi {
 public:
  explicit MemoryProfile(CallMeter* meter = nullptr) : meter_(meter) {}

  // Cuts a long text to the buffer without splitting a Chinese character.
  std::uint32_t GetProfileString(const std::string& section, const std::string& key,
                                 const std::string& fallback, char* buffer,
                                 std::uint32_t size) override;
  // A null text deletes the key and reports false when there was none.
  bool WriteProfileString(const std::string& section, const std::string& key,
                          const char* text) override;

  void Put(const std::string& section, const std::string& key, const std::string& text);
  bool Get(const std::string& section, const std::string& key, std::string* text) const;

 private:
  CallMeter* meter_;
  std::map<std::string, std::string> texts_;  // by folded section and key
};

// Drives, folders and files with attributes; paths are separated by backslashes or slashes.
class MemoryFiles : public FileSystemApi {
 public:
  explicit MemoryFiles(CallMeter* meter = nullptr) : meter_(meter) {}

  Status ListFolder(const std::string& folder, std::vector<FileEntry>* entries) override;
  Status GetAttributes(const std::string& path, std::uint32_t* attributes) override;
  Status SetAttributes(const std::string& path, std::uint32_t attributes) override;
  Status DeleteFile(const std::string& path) override;
  bool Exists(const std::string& path) override { return Call(path) != nullptr; }
  Status ReadFile(const std::string& path, std::string* bytes) override;
  Status WriteFile(const std::string& path, const std::string& bytes) override;
  // A name holding '?' stands for one the code page cannot hold: add such a file with
  // AddFile; no path reaches it (a '?' in a path is invalid).
  Status UnrepresentableFiles(const std::string& folder,
                              std::vector<std::uint32_t>* indices) override;

  // Test-side controls; missing folders on the way are made.
  void AddFolder(const std::string& path) { Make(path, true); }
  // Files always carry kAttrArchive besides the attributes given, as under Wine.
  void AddFile(const std::string& path, const std::string& bytes, std::uint32_t attributes = 0);
  bool FileBytes(const std::string& path, std::string* bytes) const;
  std::uint32_t Attributes(const std::string& path) const {  // 0xFFFFFFFF when missing
    const Node* node = Find(path);
    return node ? node->attributes : 0xFFFFFFFFu;
  }
  // A locked file refuses attribute changes, deletion, reading and writing with
  // kSharingViolation, as a file another program holds open.
  void Lock(const std::string& path, bool locked) {
    if (Node* node = Find(path)) node->locked = locked;
  }
  // Creating, writing or deleting a file in this folder fails with kAccessDenied.
  void SetReadOnlyFolder(const std::string& folder, bool readOnly) {
    Make(folder, true)->readOnlyFolder = readOnly;
  }
  // A write stores the first half of its bytes and fails with kDiskFull.
  void SetDiskFull(bool full) { diskFull_ = full; }
  void RemoveFile(const std::string& path);  // as another program deleting it

 private:
  struct Node {
    std::string name;
    bool folder = false;
    std::uint32_t attributes = 0;
    std::string bytes = {};
    bool locked = false, readOnlyFolder = false;
    std::vector<std::unique_ptr<Node>> children = {};
  };

  // Null when path is missing, with the status Windows gives: kFileNotFound for the last
  // part, kPathNotFound for a folder on the way. *parent is where the last part is or goes.
  Node* Find(const std::string& path, Status* status = nullptr, Node** parent = nullptr) const;
  Node* Call(const std::string& path, Status* status = nullptr, Node** parent = nullptr);
  Node* Make(const std::string& path, bool folder);
  static Status Refusal(const Node* node, const Node* parent);

  CallMeter* meter_;
  std::unique_ptr<Node> top_ = std::make_unique<Node>(Node{"", true});  // holds the drives
  bool diskFull_ = false;
};

class MemoryPlatform {
 public:
  // The system directory and the program folder exist from the start.
  MemoryPlatform() {
    files_.AddFolder(MemorySystem::kSystemDirectory);
    files_.AddFolder(MemorySystem::kProgramFolder);
  }

  MemoryRegistry& registry() { return registry_; }
  MemoryProfile& profile() { return profile_; }
  MemoryFiles& files() { return files_; }
  MemorySystem& system() { return system_; }
  MemoryProcesses& processes() { return processes_; }
  Platform& platform() { return platform_; }

  // After n more platform calls, every call throws PowerCut before doing anything; -1
  // lifts the limit.
  void SetCallBudget(long n) { meter_.SetBudget(n); }
  long CallCount() const { return meter_.count(); }

 private:
  CallMeter meter_;
  MemoryRegistry registry_{&meter_};
  MemoryProfile profile_{&meter_};
  MemoryFiles files_{&meter_};
  MemorySystem system_{&meter_};
  MemoryProcesses processes_{&meter_};
  Platform platform_{registry_, profile_, files_, system_, processes_};
};

}  // namespace qel::mem
