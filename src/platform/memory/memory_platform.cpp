#include "platform/memory/memory_platform.h"

#include <algorithm>
#include <cstring>

namespace qel::mem {

namespace {

constexpr Status kInvalidHandle = 6;
constexpr Status kInvalidName = 123;  // what listing a file as a folder gives
constexpr std::uint32_t kKeySetValue = 0x2;
// Any of these in an access mask asks to change the key.
constexpr std::uint32_t kWriteRights =
    0x2 | 0x4 | 0x20 | 0x10000 | 0x40000 | 0x80000 | 0x10000000 | 0x40000000;

bool IsLeadByte(char c) { return static_cast<unsigned char>(c) >= 0x81 && c != '\xFF'; }

// Folds 'a'..'z' to upper case, but never the trail byte of a double-byte character: in GBK
// a trail byte can be a letter and folding it would turn one Chinese character into another.
std::string Fold(std::string name) {
  for (std::size_t i = 0; i < name.size(); i += IsLeadByte(name[i]) ? 2 : 1)
    if (name[i] >= 'a' && name[i] <= 'z') name[i] = static_cast<char>(name[i] - 'a' + 'A');
  return name;
}

bool SameName(const std::string& a, const std::string& b) { return Fold(a) == Fold(b); }

// The non-empty parts of a path, never split at a trail byte (in GBK it may be 0x5C).
std::vector<std::string> SplitPath(const std::string& path, bool slashSeparates) {
  std::vector<std::string> parts(1);
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (IsLeadByte(path[i]) && i + 1 < path.size()) {
      parts.back() += path.substr(i++, 2);
    } else if (path[i] == '\\' || (slashSeparates && path[i] == '/')) {
      if (!parts.back().empty()) parts.emplace_back();
    } else {
      parts.back() += path[i];
    }
  }
  if (parts.back().empty()) parts.pop_back();
  return parts;
}

// Copies bytes into a buffer of room bytes, or gives kMoreData and leaves the buffer alone.
Status CopyOut(const std::string& bytes, void* data, std::uint32_t room) {
  if (data && bytes.size() > room) return kMoreData;
  if (data) std::memcpy(data, bytes.data(), bytes.size());
  return kOk;
}

bool IsSubkey(const std::string& id, const std::string& above) {
  return id.size() > above.size() && id[above.size()] == '\n' && id.rfind(above, 0) == 0;
}

template <typename Node>
Node* ChildOf(const Node& folder, const std::string& name) {
  for (const auto& child : folder.children)
    if (SameName(child->name, name)) return child.get();
  return nullptr;
}

template <typename Node>
void RemoveChild(Node* folder, const Node* child) {
  auto& c = folder->children;
  c.erase(std::find_if(c.begin(), c.end(), [&](const auto& n) { return n.get() == child; }));
}

}  // namespace

// ---- Registry

std::string MemoryRegistry::Id(RegKey root, const std::string& path) const {
  auto handle = handles_.find(root);
  std::string id = root == kHkeyCurrentUser    ? "U"
                   : root == kHkeyLocalMachine ? "M"
                   : handle != handles_.end()  ? handle->second.first
                                               : "";
  for (const std::string& part : SplitPath(id.empty() ? "" : path, false)) id += '\n' + Fold(part);
  return id;
}

MemoryRegistry::Key* MemoryRegistry::Make(RegKey root, const std::string& path) {
  std::string id = Id(root, "");
  for (const std::string& part : SplitPath(path, false)) keys_[id += '\n' + Fold(part)];
  return &keys_[id];
}

MemoryRegistry::Value* MemoryRegistry::Find(const Key& key, const std::string& name) {
  for (const Value& value : key.values)
    if (!value.unrepresentable && SameName(value.name, name)) return const_cast<Value*>(&value);
  return nullptr;
}

Status MemoryRegistry::Call(RegKey key, std::uint32_t right, Key** node) {
  if (meter_) meter_->Tick();
  auto found = keys_.find(Id(key, ""));
  if (found == keys_.end()) return kInvalidHandle;
  *node = &found->second;
  auto handle = handles_.find(key);
  if (handle != handles_.end() && (handle->second.second & right) != right) return kAccessDenied;
  return right == kKeySetValue && (*node)->denyWrite ? kAccessDenied : kOk;
}

Status MemoryRegistry::OpenKey(RegKey root, const std::string& subKey, std::uint32_t access,
                               RegKey* key) {
  return Open(root, subKey, access, key, false);
}

Status MemoryRegistry::CreateKey(RegKey root, const std::string& subKey, std::uint32_t access,
                                 RegKey* key) {
  return Open(root, subKey, access, key, true);
}

Status MemoryRegistry::Open(RegKey root, const std::string& subKey, std::uint32_t access,
                            RegKey* key, bool create) {
  if (meter_) meter_->Tick();
  std::string id = Id(root, "");
  if (id.empty()) return kInvalidHandle;
  for (const std::string& part : SplitPath(subKey, false)) {
    const Key& above = keys_[id];
    if (keys_.count(id += '\n' + Fold(part))) continue;
    if (!create) return kFileNotFound;
    if (above.denyWrite || above.denyAccess) return kAccessDenied;
    keys_[id];
  }
  const Key& node = keys_[id];
  if (node.denyAccess || ((access & kWriteRights) && node.denyWrite)) return kAccessDenied;
  handles_[*key = nextHandle_ += 4] = {id, access};
  return kOk;
}

Status MemoryRegistry::CloseKey(RegKey key) {
  if (meter_) meter_->Tick();
  bool root = key == kHkeyCurrentUser || key == kHkeyLocalMachine;
  return root || handles_.erase(key) ? kOk : kInvalidHandle;
}

Status MemoryRegistry::QueryValue(RegKey key, const std::string& name, std::uint32_t* type,
                                  void* data, std::uint32_t* size) {
  Key* node = nullptr;
  if (Status status = Call(key, kKeyQueryValue, &node)) return status;
  const std::uint32_t room = size ? *size : 0;
  Value* value = Find(*node, name);
  if (type) *type = value ? value->type : kRegNone;
  if (size && (value || !data)) *size = value ? std::uint32_t(value->data.size()) : 0;
  return value ? CopyOut(value->data, data, room) : kFileNotFound;
}

Status MemoryRegistry::SetValue(RegKey key, const std::string& name, std::uint32_t type,
                                const void* data, std::uint32_t size) {
  Key* node = nullptr;
  if (Status status = Call(key, kKeySetValue, &node)) return status;
  Put(key, "", name, type, std::string(static_cast<const char*>(data), data ? size : 0));
  return kOk;
}

Status MemoryRegistry::DeleteValue(RegKey key, const std::string& name) {
  Key* node = nullptr;
  if (Status status = Call(key, kKeySetValue, &node)) return status;
  Value* value = Find(*node, name);
  if (!value) return kFileNotFound;
  node->values.erase(node->values.begin() + (value - node->values.data()));
  return kOk;
}

Status MemoryRegistry::EnumValue(RegKey key, std::uint32_t index, char* name,
                                 std::uint32_t* nameLength, std::uint32_t* type, void* data,
                                 std::uint32_t* dataLength) {
  Key* node = nullptr;
  if (Status status = Call(key, kKeyQueryValue, &node)) return status;
  if (index >= node->values.size()) return kNoMoreItems;
  const Value& value = node->values[index];
  // Data that does not fit fails before the name is looked at: the name and its length stay
  // untouched, type and needed size are set.
  Status status = CopyOut(value.data, data, dataLength ? *dataLength : 0);
  if (type) *type = value.type;
  if (dataLength) *dataLength = std::uint32_t(value.data.size());
  if (status || value.name.size() >= *nameLength) return kMoreData;
  std::memcpy(name, value.name.c_str(), value.name.size() + 1);
  *nameLength = std::uint32_t(value.name.size());
  return kOk;
}

Status MemoryRegistry::DeleteKey(RegKey root, const std::string& subKey) {
  if (meter_) meter_->Tick();
  const std::string id = Id(root, subKey);
  auto it = keys_.find(id);
  if (it == keys_.end() || id.find('\n') == std::string::npos) return kFileNotFound;
  auto next = std::next(it);
  bool hasSubkey = next != keys_.end() && IsSubkey(next->first, id);
  if (it->second.denyAccess || it->second.denyWrite || hasSubkey) return kAccessDenied;
  keys_.erase(it);
  return kOk;
}

Status MemoryRegistry::UnrepresentableValues(RegKey key, std::vector<std::uint32_t>* indices) {
  indices->clear();
  Key* node = nullptr;
  Status status = Call(key, kKeyQueryValue, &node);
  for (std::uint32_t i = 0; !status && i < node->values.size(); ++i)
    if (node->values[i].unrepresentable) indices->push_back(i);
  return status;
}

// A value set again keeps its name's case and its place.
void MemoryRegistry::Put(RegKey root, const std::string& path, const std::string& name,
                         std::uint32_t type, const std::string& bytes) {
  Key& node = *Make(root, path);
  Value* value = Find(node, name);
  if (!value) value = &node.values.emplace_back(Value{name, type, bytes});
  value->type = type;
  value->data = bytes;
}

bool MemoryRegistry::Get(RegKey root, const std::string& path, const std::string& name,
                         std::uint32_t* type, std::string* bytes) const {
  auto it = keys_.find(Id(root, path));
  const Value* value = it == keys_.end() ? nullptr : Find(it->second, name);
  if (value && type) *type = value->type;
  if (value && bytes) *bytes = value->data;
  return value != nullptr;
}

std::vector<std::string> MemoryRegistry::ValueNames(RegKey root, const std::string& path) const {
  std::vector<std::string> names;
  auto it = keys_.find(Id(root, path));
  for (std::size_t i = 0; it != keys_.end() && i < it->second.values.size(); ++i)
    names.push_back(it->second.values[i].name);
  return names;
}

void MemoryRegistry::RemoveKey(RegKey root, const std::string& path) {
  const std::string id = Id(root, path);
  auto end = keys_.upper_bound(id);
  while (end != keys_.end() && IsSubkey(end->first, id)) ++end;
  if (id.find('\n') != std::string::npos) keys_.erase(keys_.lower_bound(id), end);
}

void MemoryRegistry::MakeNameUnrepresentable(RegKey root, const std::string& path,
                                             const std::string& name) {
  if (Value* value = Find(*Make(root, path), name)) value->unrepresentable = true;
}

// ---- Win.ini

namespace {

std::string ProfileId(const std::string& section, const std::string& key) {
  return Fold(section) + '\n' + Fold(key);
}

}  // namespace

std::uint32_t MemoryProfile::GetProfileString(const std::string& section, const std::string& key,
                                              const std::string& fallback, char* buffer,
                                              std::uint32_t size) {
  if (meter_) meter_->Tick();
  if (!buffer || size == 0) return 0;
  std::string text;
  // Windows drops the trailing blanks of the default text.
  if (!Get(section, key, &text)) text = fallback.substr(0, fallback.find_last_not_of(' ') + 1);
  // The longest prefix that fits with its NUL and does not end inside a double-byte character.
  std::size_t length = 0;
  for (std::size_t next = 0; next < size && (length = next) < text.size();)
    next += IsLeadByte(text[next]) && next + 1 < text.size() ? 2 : 1;
  std::memcpy(buffer, text.data(), length);
  buffer[length] = 0;
  return static_cast<std::uint32_t>(length);
}

bool MemoryProfile::WriteProfileString(const std::string& section, const std::string& key,
                                       const char* text) {
  if (meter_) meter_->Tick();
  if (text) Put(section, key, text);
  // Deleting a key that is not there fails, as the registry-mapped Win.ini of Windows NT has it.
  return text || texts_.erase(ProfileId(section, key)) != 0;
}

void MemoryProfile::Put(const std::string& section, const std::string& key,
                        const std::string& text) {
  texts_[ProfileId(section, key)] = text;
}

bool MemoryProfile::Get(const std::string& section, const std::string& key,
                        std::string* text) const {
  auto found = texts_.find(ProfileId(section, key));
  if (found != texts_.end() && text) *text = found->second;
  return found != texts_.end();
}

// ---- Files

namespace {

// Wine reports every file with the archive bit, whatever was set; a folder only ever has
// the directory bit added. These are the bits SetFileAttributes can change.
std::uint32_t Normalized(std::uint32_t attributes, bool folder) {
  constexpr std::uint32_t kSettable =
      kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrArchive | 0x100 | 0x1000 | 0x2000;
  return (attributes & kSettable) | (folder ? kAttrDirectory : kAttrArchive);
}

}  // namespace

MemoryFiles::Node* MemoryFiles::Find(const std::string& path, Status* status, Node** parent) const {
  Status ignored;
  Status& result = *(status ? status : &ignored) = kOk;
  std::vector<std::string> parts = SplitPath(path, true);
  if (path.find_first_of("?*") != std::string::npos) return result = kInvalidName, nullptr;
  if (parts.empty()) return result = kPathNotFound, nullptr;
  Node* at = top_.get();
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (!at->folder) return result = kPathNotFound, nullptr;
    if (parent) *parent = at;
    if (!(at = ChildOf(*at, parts[i])))
      return result = i + 1 < parts.size() ? kPathNotFound : kFileNotFound, nullptr;
  }
  return at;
}

MemoryFiles::Node* MemoryFiles::Call(const std::string& path, Status* status, Node** parent) {
  if (meter_) meter_->Tick();
  return Find(path, status, parent);
}

MemoryFiles::Node* MemoryFiles::Make(const std::string& path, bool folder) {
  std::vector<std::string> parts = SplitPath(path, true);
  Node* at = top_.get();
  for (std::size_t i = 0; i < parts.size(); ++i) {
    bool isFolder = folder || i + 1 < parts.size();
    Node* child = ChildOf(*at, parts[i]);
    at = child ? child
               : at->children.emplace_back(new Node{parts[i], isFolder, Normalized(0, isFolder)})
                     .get();
  }
  return at;
}

// What refuses to delete or replace node in parent (or to create a file there).
Status MemoryFiles::Refusal(const Node* node, const Node* parent) {
  if (parent->readOnlyFolder || (node && (node->folder || (node->attributes & kAttrReadOnly))))
    return kAccessDenied;
  return node && node->locked ? kSharingViolation : kOk;
}

Status MemoryFiles::ListFolder(const std::string& folder, std::vector<FileEntry>* entries) {
  entries->clear();
  Status status;
  Node* node = Call(folder, &status);
  if (!node) return status == kFileNotFound ? kPathNotFound : status;
  if (!node->folder) return kInvalidName;
  for (const auto& child : node->children) entries->push_back({child->name, child->attributes});
  return kOk;
}

Status MemoryFiles::GetAttributes(const std::string& path, std::uint32_t* attributes) {
  Status status;
  if (Node* node = Call(path, &status)) *attributes = node->attributes;
  return status;
}

Status MemoryFiles::SetAttributes(const std::string& path, std::uint32_t attributes) {
  Status status;
  Node* node = Call(path, &status);
  if (node && node->locked) return kSharingViolation;
  if (node) node->attributes = Normalized(attributes, node->folder);
  return status;
}

Status MemoryFiles::DeleteFile(const std::string& path) {
  Status status;
  Node *parent = nullptr, *node = Call(path, &status, &parent);
  if (!node) return status;
  if (Status refused = Refusal(node, parent)) return refused;
  RemoveChild(parent, node);
  return kOk;
}

Status MemoryFiles::ReadFile(const std::string& path, std::string* bytes) {
  Status status;
  Node* node = Call(path, &status);
  if (!node) return status;
  if (node->folder) return kAccessDenied;
  if (node->locked) return kSharingViolation;
  *bytes = node->bytes;
  return kOk;
}

// A hidden or system file can be replaced (under Wine; Windows itself refuses) and keeps its
// attributes.
Status MemoryFiles::WriteFile(const std::string& path, const std::string& bytes) {
  Status status;
  Node *parent = nullptr, *node = Call(path, &status, &parent);
  if (status != kOk && status != kFileNotFound) return status;
  if (Status refused = Refusal(node, parent)) return refused;
  if (!node) node = Make(path, false);
  node->bytes = diskFull_ ? bytes.substr(0, bytes.size() / 2) : bytes;
  return diskFull_ ? kDiskFull : kOk;
}

Status MemoryFiles::UnrepresentableFiles(const std::string& folder,
                                         std::vector<std::uint32_t>* indices) {
  indices->clear();
  Status status;
  Node* node = Call(folder, &status);
  for (std::uint32_t i = 0; node && i < node->children.size(); ++i)
    if (node->children[i]->name.find('?') != std::string::npos) indices->push_back(i);
  return status;
}

void MemoryFiles::AddFile(const std::string& path, const std::string& bytes,
                          std::uint32_t attributes) {
  Node* node = Make(path, false);
  node->bytes = bytes;
  node->attributes = Normalized(attributes, false);
}

bool MemoryFiles::FileBytes(const std::string& path, std::string* bytes) const {
  const Node* node = Find(path);
  if (node && !node->folder && bytes) *bytes = node->bytes;
  return node && !node->folder;
}

void MemoryFiles::RemoveFile(const std::string& path) {
  Node* parent = nullptr;
  if (Node* node = Find(path, nullptr, &parent)) RemoveChild(parent, node);
}

}  // namespace qel::mem
