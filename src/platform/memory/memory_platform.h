// An in-memory Windows: registry, Win.ini, files, system facts and processes behind the
// platform seam, with switches for faults and a power cut after n calls. Names match
// case-insensitively on ANSI (GBK) bytes. The test-side controls are not platform calls
// and never counted.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/memory/memory_programs.h"
#include "platform/platform.h"

namespace qel::mem {

// UTF-8 <-> code page 936 without the platform seam (gbk_codec.cpp). Characters the target
// cannot hold become '?', one per UTF-16 unit, as the Windows conversions give them.
std::string Utf8ToGbk(const std::string& utf8);
std::string GbkToUtf8(const std::string& gbk);

// Thrown by a platform call once the budget is spent, before the call does anything.
struct PowerCut {};

// Counts the calls made into the in-memory platform and cuts the power after a budget, so
// that tests can stop a multi-step write at every step.
struct CallMeter {
  // Called first by every platform call.
  void Tick() {
    if (budget == 0) throw PowerCut{};
    budget -= budget > 0;
    ++count;
  }
  long budget = -1;  // calls that still succeed; -1: no limit
  long count = 0;
};

class MemoryProcesses : public ProcessApi {
 public:
  explicit MemoryProcesses(CallMeter* meter) : meter_(meter) {}

  Status Snapshot(std::vector<ProcessEntry>* processes) override {
    meter_->Tick();
    *processes = table;
    return kOk;
  }
  Status Terminate(std::uint32_t id) override {
    meter_->Tick();
    auto it = std::find_if(table.begin(), table.end(), [&](auto& p) { return p.id == id; });
    if (it == table.end()) return kInvalidParameter;
    if (terminateFailure == kOk) table.erase(it);
    return terminateFailure;
  }
  std::uint32_t CurrentProcessId() override { return meter_->Tick(), selfId; }

  std::vector<ProcessEntry> table = {{4, "Qelmora.exe"}};
  std::uint32_t selfId = 4;
  Status terminateFailure = kOk;  // e.g. kAccessDenied: the process keeps running

 private:
  CallMeter* meter_;
};

namespace names {

inline bool IsLeadByte(char c) { return static_cast<unsigned char>(c) >= 0x81 && c != '\xFF'; }

// Folds 'a'..'z' to upper case, but never the trail byte of a double-byte character: in GBK
// a trail byte can be a letter and folding it would turn one Chinese character into another.
inline std::string Fold(std::string name) {
  for (std::size_t i = 0; i < name.size(); i += IsLeadByte(name[i]) ? 2 : 1)
    if (name[i] >= 'a' && name[i] <= 'z') name[i] = static_cast<char>(name[i] - 'a' + 'A');
  return name;
}

// The non-empty parts of a path, never split at a trail byte (in GBK it may be 0x5C).
inline std::vector<std::string> Split(const std::string& path, bool slashSeparates) {
  std::vector<std::string> parts(1);
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (path[i] != '\\' && (!slashSeparates || path[i] != '/')) {
      parts.back() += path[i];
      if (IsLeadByte(path[i]) && i + 1 < path.size()) parts.back() += path[++i];
    } else if (!parts.back().empty()) {
      parts.emplace_back();
    }
  }
  if (parts.back().empty()) parts.pop_back();
  return parts;
}

// Copies bytes into a buffer of room bytes, or gives kMoreData and leaves the buffer alone.
inline Status CopyOut(const std::string& bytes, void* data, std::uint32_t room) {
  if (data && bytes.size() > room) return kMoreData;
  if (data) std::memcpy(data, bytes.data(), bytes.size());
  return kOk;
}

}  // namespace names

// System facts and the shell; the code page 936 conversions are real.
class MemorySystem : public SystemApi {
 public:
  static constexpr char kSystemDirectory[] = "C:\\WINDOWS\\SYSTEM";
  static constexpr char kProgramFolder[] = "C:\\Program Files\\Qelmora";

  explicit MemorySystem(CallMeter* meter = nullptr) : meter_(meter) {}

  std::string SystemDirectory() override { return Tick(), kSystemDirectory; }
  std::string ProgramFolder() override { return Tick(), kProgramFolder; }
  // Above 32 is success.
  std::intptr_t ShellExecute(std::uintptr_t, const std::string&, const std::string& file,
                             const std::string&, const std::string&, int) override {
    Tick();
    opened.push_back(file);
    return 42;
  }
  LocalTime Now() override { return Tick(), now; }
  std::uint32_t AnsiCodePage() override { return Tick(), 936; }
  std::string ToAnsi(const std::string& utf8) override { return Tick(), Utf8ToGbk(utf8); }
  std::string FromAnsi(const std::string& ansi) override { return Tick(), GbkToUtf8(ansi); }

  std::vector<std::string> opened;  // the file of every ShellExecute, in order
  LocalTime now = {2024, 3, 9, 8, 5, 7};

 private:
  void Tick() { meter_ ? meter_->Tick() : void(); }

  CallMeter* meter_;
};

// The registry as Windows NT keeps it: values in creation order, rights checked per handle.
class MemoryRegistry : public RegistryApi {
 public:
  explicit MemoryRegistry(CallMeter* meter = nullptr) : meter_(meter) {}

  Status OpenKey(RegKey root, const std::string& subKey, std::uint32_t access,
                 RegKey* key) override {
    return Open(root, subKey, access, key, false);
  }
  Status CreateKey(RegKey root, const std::string& subKey, std::uint32_t access,
                   RegKey* key) override {
    return Open(root, subKey, access, key, true);
  }
  Status CloseKey(RegKey key) override {
    if (meter_) meter_->Tick();
    handles_.erase(key);
    return kOk;
  }
  Status QueryValue(RegKey key, const std::string& name, std::uint32_t* type, void* data,
                    std::uint32_t* size) override {
    Key* node = nullptr;
    if (Status status = Call(key, kKeyQueryValue, &node)) return status;
    const std::uint32_t room = size ? *size : 0;
    Value* value = Find(*node, name);
    if (type) *type = value ? value->type : kRegNone;
    if (size && (value || !data)) *size = value ? std::uint32_t(value->data.size()) : 0;
    return value ? names::CopyOut(value->data, data, room) : kFileNotFound;
  }
  Status SetValue(RegKey key, const std::string& name, std::uint32_t type, const void* data,
                  std::uint32_t size) override {
    Key* node = nullptr;
    if (Status status = Call(key, kKeySetValue, &node)) return status;
    Put(key, "", name, type, std::string(static_cast<const char*>(data), data ? size : 0));
    return kOk;
  }
  Status DeleteValue(RegKey key, const std::string& name) override {
    Key* node = nullptr;
    if (Status status = Call(key, kKeySetValue, &node)) return status;
    Value* value = Find(*node, name);
    if (!value) return kFileNotFound;
    node->values.erase(node->values.begin() + (value - node->values.data()));
    return kOk;
  }
  // Data that does not fit fails before the name is looked at: the name and its length stay
  // untouched, type and needed size are set.
  Status EnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameLength,
                   std::uint32_t* type, void* data, std::uint32_t* dataLength) override {
    Key* node = nullptr;
    if (Status status = Call(key, kKeyQueryValue, &node)) return status;
    if (index >= node->values.size()) return kNoMoreItems;
    const Value& value = node->values[index];
    Status status = names::CopyOut(value.data, data, dataLength ? *dataLength : 0);
    if (type) *type = value.type;
    if (dataLength) *dataLength = std::uint32_t(value.data.size());
    if (status || value.name.size() >= *nameLength) return kMoreData;
    std::memcpy(name, value.name.c_str(), value.name.size() + 1);
    *nameLength = std::uint32_t(value.name.size());
    return kOk;
  }
  Status DeleteKey(RegKey root, const std::string& subKey) override {
    if (meter_) meter_->Tick();
    const std::string id = Id(root, subKey);
    auto it = keys_.find(id);
    if (it == keys_.end() || id.find('\n') == std::string::npos) return kFileNotFound;
    bool hasSubkey = std::next(it) != keys_.end() && IsBelow(std::next(it)->first, id);
    if (it->second.denyWrite || hasSubkey) return kAccessDenied;
    keys_.erase(it);
    return kOk;
  }
  std::uint32_t OtherView() override { return otherView; }
  Status KeyIdentity(RegKey key, std::string* identity) override {
    if (meter_) meter_->Tick();
    auto handle = handles_.find(key);
    if (handle == handles_.end()) return kInvalidHandle;
    *identity = handle->second.first;
    return kOk;
  }
  Status UnrepresentableValues(RegKey key, std::vector<std::uint32_t>* indices) override {
    indices->clear();
    Key* node = nullptr;
    Status status = Call(key, kKeyQueryValue, &node);
    for (std::uint32_t i = 0; !status && i < node->values.size(); ++i)
      if (node->values[i].unrepresentable) indices->push_back(i);
    return status;
  }

  // Test-side controls; root is kHkeyCurrentUser or kHkeyLocalMachine. A value set again
  // keeps its name's case and its place.
  void Put(RegKey root, const std::string& path, const std::string& name, std::uint32_t type,
           const std::string& bytes) {
    Key& node = *Make(root, path);
    Value* value = Find(node, name);
    if (!value) value = &node.values.emplace_back(Value{name, type, bytes});
    value->type = type;
    value->data = bytes;
  }
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
           std::string* bytes) const {
    auto it = keys_.find(Id(root, path));
    const Value* value = it == keys_.end() ? nullptr : Find(it->second, name);
    if (value && type) *type = value->type;
    if (value && bytes) *bytes = value->data;
    return value != nullptr;
  }
  // Value names in enumeration order; empty when the key is missing.
  std::vector<std::string> ValueNames(RegKey root, const std::string& path) const {
    std::vector<std::string> names;
    auto it = keys_.find(Id(root, path));
    for (std::size_t i = 0; it != keys_.end() && i < it->second.values.size(); ++i)
      names.push_back(it->second.values[i].name);
    return names;
  }
  // The key (made if missing) refuses, with kAccessDenied, opening with any write right,
  // setting or deleting values, new keys below it and its deletion: an ACL that grants reading.
  void DenyWrite(RegKey root, const std::string& path, bool deny) {
    Make(root, path)->denyWrite = deny;
  }
  // 0: one view (98, 2000, 32-bit Windows). kKeyWow64_32Key: a 64-bit program's machine,
  // kKeyWow64_64Key: a 32-bit program's on 64-bit Windows, whose own view is the 32-bit one.
  std::uint32_t otherView = 0;
  // The value's true name is one the code page cannot hold: it still enumerates as name
  // (its '?' form), no call naming it reaches it, and UnrepresentableValues reports it.
  void MakeNameUnrepresentable(RegKey root, const std::string& path, const std::string& name) {
    if (Value* value = Find(*Make(root, path), name)) value->unrepresentable = true;
  }

 private:
  static constexpr Status kInvalidHandle = 6;
  static constexpr std::uint32_t kKeySetValue = 0x2;
  // Setting values or creating subkeys: the write rights the program ever asks for.
  static constexpr std::uint32_t kWriteRights = 0x2 | 0x4;

  struct Value {
    std::string name;
    std::uint32_t type;
    std::string data;
    bool unrepresentable = false;
  };
  struct Key {
    std::vector<Value> values;  // in enumeration order: removing one moves the later ones up
    bool denyWrite = false;
  };

  // A key's place in keys_: its root, then each folded part after a '\n' (which no name
  // holds and which sorts before every character one does: subkeys follow their key).
  // Empty for a bad handle.
  std::string Id(RegKey root, const std::string& path) const {
    std::string id = root == kHkeyCurrentUser ? "U" : root == kHkeyLocalMachine ? "M" : "";
    if (auto handle = handles_.find(root); handle != handles_.end()) id = handle->second.first;
    for (const std::string& part : names::Split(id.empty() ? "" : path, false))
      id += '\n' + names::Fold(part);
    return id;
  }
  static bool IsBelow(const std::string& id, const std::string& above) {
    return id.size() > above.size() && id[above.size()] == '\n' && id.rfind(above, 0) == 0;
  }
  Key* Make(RegKey root, const std::string& path) {
    std::string id = Id(root, "");
    for (const std::string& part : names::Split(path, false)) keys_[id += '\n' + names::Fold(part)];
    return &keys_[id];
  }
  static Value* Find(const Key& key, const std::string& name) {
    for (const Value& value : key.values)
      if (!value.unrepresentable && names::Fold(value.name) == names::Fold(name))
        return const_cast<Value*>(&value);
    return nullptr;
  }
  // Counts the call, then finds the key behind a handle that carries the right.
  Status Call(RegKey key, std::uint32_t right, Key** node) {
    if (meter_) meter_->Tick();
    auto found = keys_.find(Id(key, ""));
    if (found == keys_.end()) return kInvalidHandle;
    *node = &found->second;
    auto handle = handles_.find(key);
    if (handle != handles_.end() && (handle->second.second & right) != right) return kAccessDenied;
    return right == kKeySetValue && (*node)->denyWrite ? kAccessDenied : kOk;
  }
  Status Open(RegKey root, const std::string& subKey, std::uint32_t access, RegKey* key,
              bool create) {
    if (meter_) meter_->Tick();
    std::string id = Id(root, "");
    if (id.empty()) return kInvalidHandle;
    const std::uint32_t view = access & (kKeyWow64_64Key | kKeyWow64_32Key);
    // Windows before the 64-bit ones may refuse the flags; the program must not pass them.
    if (view && !otherView) return kInvalidParameter;
    for (const std::string& part : names::Split(ViewPath(root, subKey, view), false)) {
      const Key& above = keys_[id];
      if (keys_.count(id += '\n' + names::Fold(part))) continue;
      if (!create) return kFileNotFound;
      if (above.denyWrite) return kAccessDenied;
      keys_[id];
    }
    const Key& node = keys_[id];
    if ((access & kWriteRights) && node.denyWrite) return kAccessDenied;
    handles_[*key = nextHandle_ += 4] = {id, access};
    return kOk;
  }

  // HKLM\SOFTWARE as the view asked for sees it: the 32-bit view's keys lie under
  // SOFTWARE\Wow6432Node, where test-side controls reach them.
  std::string ViewPath(RegKey root, const std::string& subKey, std::uint32_t view) const {
    const bool own32 = otherView == kKeyWow64_64Key;
    const bool view32 = view == kKeyWow64_32Key || (!view && own32);
    std::vector<std::string> parts = names::Split(subKey, false);
    std::string folded;
    for (const std::string& part : parts) folded += names::Fold(part) + '\\';
    // Keys both views share, as Wine shares them: the policies.
    const bool shared = folded.rfind("SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\POLICIES\\", 0) == 0;
    if (!otherView || !view32 || root != kHkeyLocalMachine || parts.empty() ||
        names::Fold(parts[0]) != "SOFTWARE" || shared)
      return subKey;
    return parts[0] + "\\Wow6432Node" + subKey.substr(subKey.find(parts[0]) + parts[0].size());
  }

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
                                 std::uint32_t size) override {
    if (meter_) meter_->Tick();
    std::string text;
    // Windows drops the trailing blanks of the default text.
    if (!Get(section, key, &text)) text = fallback.substr(0, fallback.find_last_not_of(' ') + 1);
    std::size_t length = 0;  // the longest prefix that fits with its NUL
    for (std::size_t next = 0; next < size && (length = next) < text.size();)
      next += names::IsLeadByte(text[next]) && next + 1 < text.size() ? 2 : 1;
    std::memcpy(buffer, text.data(), length);
    buffer[length] = 0;
    return std::uint32_t(length);
  }
  // A null text deletes the key and reports false when there was none, as the
  // registry-mapped Win.ini of Windows NT does.
  bool WriteProfileString(const std::string& section, const std::string& key,
                          const char* text) override {
    if (meter_) meter_->Tick();
    if (text) Put(section, key, text);
    return text || texts_.erase(names::Fold(section) + '\n' + names::Fold(key)) != 0;
  }

  void Put(const std::string& section, const std::string& key, const std::string& text) {
    texts_[names::Fold(section) + '\n' + names::Fold(key)] = text;
  }
  bool Get(const std::string& section, const std::string& key, std::string* text) const {
    auto found = texts_.find(names::Fold(section) + '\n' + names::Fold(key));
    if (found != texts_.end() && text) *text = found->second;
    return found != texts_.end();
  }

 private:
  CallMeter* meter_;
  std::map<std::string, std::string> texts_;  // by folded section and key
};

// Drives, folders and files with attributes; paths are separated by backslashes or slashes.
class MemoryFiles : public FileSystemApi {
 public:
  explicit MemoryFiles(CallMeter* meter = nullptr) : meter_(meter) {}

  Status ListFolder(const std::string& folder, std::vector<FileEntry>* entries) override {
    entries->clear();
    Status status;
    Node* node = Call(folder, &status);
    if (!node) return status == kFileNotFound ? kPathNotFound : status;
    for (const auto& child : node->children) entries->push_back({child->name, child->attributes});
    return kOk;
  }
  Status GetAttributes(const std::string& path, std::uint32_t* attributes) override {
    Status status;
    if (Node* node = Call(path, &status)) *attributes = node->attributes;
    return status;
  }
  Status SetAttributes(const std::string& path, std::uint32_t attributes) override {
    Status status;
    Node* node = Call(path, &status);
    if (node && node->locked) return kSharingViolation;
    if (node) node->attributes = Normalized(attributes, node->folder);
    return status;
  }
  Status DeleteFile(const std::string& path) override {
    Status status;
    Node *parent = nullptr, *node = Call(path, &status, &parent);
    if (!node) return status;
    if (Status refused = Refusal(node)) return refused;
    Detach(parent, node);
    return kOk;
  }
  bool Exists(const std::string& path) override { return Call(path) != nullptr; }
  Status ReadFile(const std::string& path, std::string* bytes) override {
    Status status;
    Node* node = Call(path, &status);
    if (!node) return status;
    if (node->folder) return kAccessDenied;
    if (node->locked) return kSharingViolation;
    *bytes = node->bytes;
    return kOk;
  }
  // Windows refuses CREATE_ALWAYS with plain attributes over a hidden or system file, as
  // CreateFile documents; Wine allows it, so the contract suite cannot check this point.
  Status WriteFile(const std::string& path, const std::string& bytes) override {
    Status status;
    Node* node = Call(path, &status);
    if (status != kOk && status != kFileNotFound) return status;
    if (Status refused = Refusal(node)) return refused;
    if (node && (node->attributes & (kAttrHidden | kAttrSystem))) return kAccessDenied;
    if (!node) node = Make(path, false);
    node->bytes = diskFull_ ? bytes.substr(0, bytes.size() / 2) : bytes;
    return diskFull_ ? kDiskFull : kOk;
  }
  // A read-only target refuses, as on Windows (Wine replaces it).
  Status MoveFile(const std::string& from, const std::string& to, bool replace) override {
    Status status, toStatus;
    Node *parent = nullptr, *node = Call(from, &status, &parent), *toParent = nullptr;
    Node* target = Find(to, &toStatus, &toParent);
    if (!node) return status;
    if (toStatus == kPathNotFound) return toStatus;
    if (replace && noMoveFileEx_) return kCallNotImplemented;
    if (target && !replace) return kAlreadyExists;
    if (Status refused = Refusal(target)) return refused;
    if (node->locked) return kSharingViolation;
    std::unique_ptr<Node> moved = Detach(parent, node);
    if (target) Detach(toParent, target);
    moved->name = names::Split(to, true).back();
    toParent->children.push_back(std::move(moved));
    return kOk;
  }
  Status CreateFolder(const std::string& path) override {
    Status status;
    Node *parent = nullptr, *node = Call(path, &status, &parent);
    if (node) return kAlreadyExists;
    if (status != kFileNotFound) return status;
    Make(path, true);
    return kOk;
  }
  Status RemoveFolder(const std::string& path) override {
    Status status;
    Node *parent = nullptr, *node = Call(path, &status, &parent);
    if (!node) return status;
    if (!node->children.empty()) return kDirNotEmpty;
    Detach(parent, node);
    return kOk;
  }
  // A name holding '?' stands for one the code page cannot hold: add such a file with
  // AddFile; no path reaches it (a '?' in a path is invalid).
  Status UnrepresentableFiles(const std::string& folder,
                              std::vector<std::uint32_t>* indices) override {
    indices->clear();
    Status status;
    Node* node = Call(folder, &status);
    for (std::uint32_t i = 0; node && i < node->children.size(); ++i)
      if (node->children[i]->name.find('?') != std::string::npos) indices->push_back(i);
    return status;
  }

  // Test-side controls; missing folders on the way are made.
  void AddFolder(const std::string& path) { Make(path, true); }
  // Files always carry kAttrArchive besides the attributes given, as under Wine.
  void AddFile(const std::string& path, const std::string& bytes, std::uint32_t attributes = 0) {
    Node* node = Make(path, false);
    node->bytes = bytes;
    node->attributes = Normalized(attributes, false);
  }
  bool FileBytes(const std::string& path, std::string* bytes) const {
    const Node* node = Find(path);
    if (node && !node->folder && bytes) *bytes = node->bytes;
    return node && !node->folder;
  }
  std::uint32_t Attributes(const std::string& path) const {  // 0xFFFFFFFF when missing
    const Node* node = Find(path);
    return node ? node->attributes : 0xFFFFFFFFu;
  }
  // A locked file refuses attribute changes, deletion, reading and writing with
  // kSharingViolation, as a file another program holds open.
  void Lock(const std::string& path, bool locked) {
    if (Node* node = Find(path)) node->locked = locked;
  }
  // A write stores the first half of its bytes and fails with kDiskFull.
  void SetDiskFull(bool full) { diskFull_ = full; }
  // Windows 9x: MoveFileExA is a stub that fails.
  void SetNoMoveFileEx(bool none) { noMoveFileEx_ = none; }

 private:
  static constexpr Status kInvalidName = 123;  // a path holding a wildcard

  struct Node {
    std::string name;
    bool folder = false;
    std::uint32_t attributes = 0;
    std::string bytes = {};
    bool locked = false;
    std::vector<std::unique_ptr<Node>> children = {};
  };

  // Wine reports every file with the archive bit, whatever was set; a folder only ever has
  // the directory bit added. kSettable: the bits SetFileAttributes can change.
  static std::uint32_t Normalized(std::uint32_t attributes, bool folder) {
    constexpr std::uint32_t kSettable = kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrArchive;
    return (attributes & kSettable) | (folder ? kAttrDirectory : kAttrArchive);
  }
  static Node* Child(const Node& folder, const std::string& name) {
    for (const auto& child : folder.children)
      if (names::Fold(child->name) == names::Fold(name)) return child.get();
    return nullptr;
  }
  // Null when path is missing, with the status Windows gives: kFileNotFound for the last
  // part, kPathNotFound for a folder on the way. *parent is where the last part is or goes.
  Node* Find(const std::string& path, Status* status = nullptr, Node** parent = nullptr) const {
    Status ignored;
    Status& result = *(status ? status : &ignored) = kOk;
    std::vector<std::string> parts = names::Split(path, true);
    if (path.find_first_of("?*") != std::string::npos) return result = kInvalidName, nullptr;
    if (parts.empty()) return result = kPathNotFound, nullptr;
    Node* at = top_.get();
    for (std::size_t i = 0; i < parts.size(); ++i) {
      if (!at->folder) return result = kPathNotFound, nullptr;
      if (parent) *parent = at;
      if (!(at = Child(*at, parts[i])))
        return result = i + 1 < parts.size() ? kPathNotFound : kFileNotFound, nullptr;
    }
    return at;
  }
  Node* Call(const std::string& path, Status* status = nullptr, Node** parent = nullptr) {
    if (meter_) meter_->Tick();
    return Find(path, status, parent);
  }
  Node* Make(const std::string& path, bool folder) {
    std::vector<std::string> parts = names::Split(path, true);
    Node* at = top_.get();
    for (std::size_t i = 0; i < parts.size(); ++i) {
      bool isFolder = folder || i + 1 < parts.size();
      Node* child = Child(*at, parts[i]);
      at = child ? child
                 : at->children.emplace_back(new Node{parts[i], isFolder, Normalized(0, isFolder)})
                       .get();
    }
    return at;
  }
  static std::unique_ptr<Node> Detach(Node* parent, Node* node) {
    auto& c = parent->children;
    auto at = std::find_if(c.begin(), c.end(), [&](const auto& n) { return n.get() == node; });
    std::unique_ptr<Node> detached = std::move(*at);
    c.erase(at);
    return detached;
  }
  // What refuses to delete or replace node.
  static Status Refusal(const Node* node) {
    if (node && (node->folder || (node->attributes & kAttrReadOnly))) return kAccessDenied;
    return node && node->locked ? kSharingViolation : kOk;
  }

  CallMeter* meter_;
  std::unique_ptr<Node> top_ = std::make_unique<Node>(Node{"", true});  // holds the drives
  bool diskFull_ = false, noMoveFileEx_ = false;
};

class MemoryPlatform {
 public:
  // The system directory and the program folder exist from the start.
  MemoryPlatform() {
    files.AddFolder(MemorySystem::kSystemDirectory);
    files.AddFolder(MemorySystem::kProgramFolder);
  }

  // After n more platform calls, every call throws PowerCut before doing anything; -1
  // lifts the limit.
  void SetCallBudget(long n) { meter_.budget = n < 0 ? -1 : n; }
  long CallCount() const { return meter_.count; }

 private:
  CallMeter meter_;  // before the parts that count on it

 public:
  MemoryRegistry registry{&meter_};
  MemoryProfile profile{&meter_};
  MemoryFiles files{&meter_};
  MemorySystem system{&meter_};
  MemoryProcesses processes{&meter_};
  MemoryPrograms programs{files};
  Platform platform{registry, profile, files, system, processes, programs};
};

}  // namespace qel::mem
