#include "platform/memory/memory_registry.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "platform/memory/ansi_names.h"

namespace qel::mem {

namespace {

constexpr Status kInvalidHandle = 6;

constexpr std::uint32_t kKeySetValue = 0x2;
// Any of these in an access mask asks to change the key.
constexpr std::uint32_t kWriteRights =
    0x2 | 0x4 | 0x20 | 0x10000 | 0x40000 | 0x80000 | 0x10000000 | 0x40000000;

std::string FoldedPath(const std::string& path) {
  std::string folded;
  for (const std::string& part : SplitPath(path, false)) {
    if (!folded.empty()) folded += '\\';
    folded += FoldName(part);
  }
  return folded;
}

}  // namespace

struct MemoryRegistry::Node {
  struct Value {
    std::string name;
    std::uint32_t type;
    std::string data;
    std::string folded;  // the name as lookups compare it
    bool unrepresentable = false;
  };

  std::string name;
  RegKey root = 0;
  Node* parent = nullptr;
  // In enumeration order. Values live in their own allocations so that
  // removing one shifts only pointers, as Windows shifts its cell list.
  std::vector<std::unique_ptr<Value>> values;
  std::vector<std::shared_ptr<Node>> children;

  // Folded name to value, so that a key with thousands of values is looked
  // up in constant time.
  std::unordered_map<std::string, Value*> byName;

  Value* FindValue(const std::string& valueName) {
    auto it = byName.find(FoldName(valueName));
    return it == byName.end() ? nullptr : it->second;
  }
  // A value set again keeps its name's case and its place.
  void Store(const std::string& valueName, std::uint32_t type, std::string data) {
    if (Value* value = FindValue(valueName)) {
      value->type = type;
      value->data = std::move(data);
      return;
    }
    values.push_back(std::make_unique<Value>(Value{valueName, type, std::move(data), FoldName(valueName)}));
    byName.emplace(values.back()->folded, values.back().get());
  }
  // Removing a value moves every later value up one place.
  bool EraseValue(const std::string& valueName) {
    auto it = byName.find(FoldName(valueName));
    if (it == byName.end()) return false;
    Value* gone = it->second;
    byName.erase(it);
    values.erase(std::find_if(values.begin(), values.end(),
                              [gone](const std::unique_ptr<Value>& v) { return v.get() == gone; }));
    return true;
  }
  std::shared_ptr<Node> ChildOrNew(const std::string& childName) {
    if (std::shared_ptr<Node> child = FindChild(childName)) return child;
    auto child = std::make_shared<Node>();
    child->name = childName;
    child->root = root;
    child->parent = this;
    children.push_back(child);
    return child;
  }
  std::shared_ptr<Node> FindChild(const std::string& childName) const {
    for (const auto& child : children) {
      if (SameName(child->name, childName)) return child;
    }
    return nullptr;
  }
  void Detach() {
    auto& siblings = parent->children;
    siblings.erase(std::find_if(siblings.begin(), siblings.end(),
                                [this](const std::shared_ptr<Node>& n) { return n.get() == this; }));
  }
  std::string Path() const {
    if (!parent) return "";
    std::string above = parent->Path();
    return above.empty() ? FoldName(name) : above + '\\' + FoldName(name);
  }
};

MemoryRegistry::MemoryRegistry(CallMeter* meter)
    : meter_(meter),
      currentUser_(std::make_shared<Node>()),
      localMachine_(std::make_shared<Node>()) {
  currentUser_->root = kHkeyCurrentUser;
  localMachine_->root = kHkeyLocalMachine;
}

MemoryRegistry::~MemoryRegistry() = default;

void MemoryRegistry::Tick() {
  if (meter_) meter_->Tick();
}

std::shared_ptr<MemoryRegistry::Node> MemoryRegistry::Resolve(RegKey key) const {
  if (key == kHkeyCurrentUser) return currentUser_;
  if (key == kHkeyLocalMachine) return localMachine_;
  auto it = handles_.find(key);
  return it == handles_.end() ? nullptr : it->second.node;
}

Status MemoryRegistry::Lookup(RegKey key, std::uint32_t right, std::shared_ptr<Node>* node) const {
  std::shared_ptr<Node> found = Resolve(key);
  if (!found) return kInvalidHandle;
  auto it = handles_.find(key);
  if (it != handles_.end() && (it->second.access & right) != right) return kAccessDenied;
  *node = found;
  return kOk;
}

std::shared_ptr<MemoryRegistry::Node> MemoryRegistry::Find(const std::shared_ptr<Node>& from,
                                                           const std::string& path) const {
  std::shared_ptr<Node> node = from;
  for (const std::string& part : SplitPath(path, false)) {
    if (!node) break;
    node = node->FindChild(part);
  }
  return node;
}

std::shared_ptr<MemoryRegistry::Node> MemoryRegistry::Make(RegKey root, const std::string& path) {
  std::shared_ptr<Node> node = Resolve(root);
  for (const std::string& part : SplitPath(path, false)) {
    node = node->ChildOrNew(part);
  }
  return node;
}

bool MemoryRegistry::Denied(const Denials& denials, const Node& node) {
  return !denials.empty() && denials.count({node.root, node.Path()}) != 0;
}

void MemoryRegistry::SetDenied(Denials* denials, RegKey root, const std::string& path, bool deny) {
  if (deny) {
    denials->insert({root, FoldedPath(path)});
  } else {
    denials->erase({root, FoldedPath(path)});
  }
}

RegKey MemoryRegistry::NewHandle(std::shared_ptr<Node> node, std::uint32_t access) {
  RegKey handle = nextHandle_;
  nextHandle_ += 4;
  handles_[handle] = Handle{std::move(node), access};
  return handle;
}

Status MemoryRegistry::OpenKey(RegKey root, const std::string& subKey, std::uint32_t access,
                               RegKey* key) {
  Tick();
  std::shared_ptr<Node> parent = Resolve(root);
  if (!parent) return kInvalidHandle;
  std::shared_ptr<Node> node = Find(parent, subKey);
  if (!node) return kFileNotFound;
  if (Denied(accessDenied_, *node)) return kAccessDenied;
  if ((access & kWriteRights) && Denied(writeDenied_, *node)) return kAccessDenied;
  *key = NewHandle(node, access);
  return kOk;
}

Status MemoryRegistry::CreateKey(RegKey root, const std::string& subKey, std::uint32_t access,
                                 RegKey* key) {
  Tick();
  std::shared_ptr<Node> node = Resolve(root);
  if (!node) return kInvalidHandle;
  std::vector<std::string> parts = SplitPath(subKey, false);
  // Check every key that would be created before creating any of them.
  std::shared_ptr<Node> walk = node;
  for (const std::string& part : parts) {
    std::shared_ptr<Node> child = walk->FindChild(part);
    if (!child) {
      if (Denied(writeDenied_, *walk) || Denied(accessDenied_, *walk)) return kAccessDenied;
      break;
    }
    walk = child;
  }
  for (const std::string& part : parts) {
    node = node->ChildOrNew(part);
  }
  if (Denied(accessDenied_, *node)) return kAccessDenied;
  if ((access & kWriteRights) && Denied(writeDenied_, *node)) return kAccessDenied;
  *key = NewHandle(node, access);
  return kOk;
}

Status MemoryRegistry::CloseKey(RegKey key) {
  Tick();
  if (key == kHkeyCurrentUser || key == kHkeyLocalMachine) return kOk;
  return handles_.erase(key) ? kOk : kInvalidHandle;
}

Status MemoryRegistry::QueryValue(RegKey key, const std::string& name, std::uint32_t* type,
                                  void* data, std::uint32_t* size) {
  Tick();
  std::shared_ptr<Node> node;
  if (Status status = Lookup(key, kKeyQueryValue, &node)) return status;
  std::uint32_t room = size ? *size : 0;
  if (!data && size) *size = 0;
  if (type) *type = kRegNone;
  Node::Value* value = node->FindValue(name);
  if (!value) return kFileNotFound;

  const std::uint32_t length = static_cast<std::uint32_t>(value->data.size());
  Status status = kOk;
  if (data && length > room) {
    status = kMoreData;  // the buffer is left as it was
  } else if (data) {
    std::memcpy(data, value->data.data(), length);
  }
  if (type) *type = value->type;
  if (size) *size = length;
  return status;
}

Status MemoryRegistry::SetValue(RegKey key, const std::string& name, std::uint32_t type,
                                const void* data, std::uint32_t size) {
  Tick();
  std::shared_ptr<Node> node;
  if (Status status = Lookup(key, kKeySetValue, &node)) return status;
  if (Denied(writeDenied_, *node)) return kAccessDenied;
  node->Store(name, type, std::string(static_cast<const char*>(data), data ? size : 0));
  return kOk;
}

Status MemoryRegistry::DeleteValue(RegKey key, const std::string& name) {
  Tick();
  std::shared_ptr<Node> node;
  if (Status status = Lookup(key, kKeySetValue, &node)) return status;
  if (Denied(writeDenied_, *node)) return kAccessDenied;
  return node->EraseValue(name) ? kOk : kFileNotFound;
}

Status MemoryRegistry::EnumValue(RegKey key, std::uint32_t index, char* name,
                                 std::uint32_t* nameLength, std::uint32_t* type, void* data,
                                 std::uint32_t* dataLength) {
  Tick();
  std::shared_ptr<Node> node;
  if (Status status = Lookup(key, kKeyQueryValue, &node)) return status;
  if (index >= node->values.size()) return kNoMoreItems;
  const Node::Value& value = *node->values[index];
  const std::uint32_t length = static_cast<std::uint32_t>(value.data.size());

  // Data that does not fit fails before the name is looked at: the name
  // buffer and its length stay untouched, type and needed size are set.
  Status status = kOk;
  if (data && length > *dataLength) {
    status = kMoreData;
  } else if (data) {
    std::memcpy(data, value.data.data(), length);
  }
  const std::uint32_t nameBytes = static_cast<std::uint32_t>(value.name.size());
  if (status == kOk && nameBytes >= *nameLength) {
    status = kMoreData;  // a name that does not fit
  } else if (status == kOk) {
    std::memcpy(name, value.name.data(), nameBytes + 1);
    *nameLength = nameBytes;
  }
  if (type) *type = value.type;
  if (dataLength) *dataLength = length;
  return status;
}

Status MemoryRegistry::DeleteKey(RegKey root, const std::string& subKey) {
  Tick();
  std::shared_ptr<Node> parent = Resolve(root);
  std::shared_ptr<Node> node = parent ? Find(parent, subKey) : nullptr;
  if (!node || !node->parent) return kFileNotFound;
  if (Denied(accessDenied_, *node) || Denied(writeDenied_, *node)) return kAccessDenied;
  if (!node->children.empty()) return kAccessDenied;
  node->Detach();
  return kOk;
}

void MemoryRegistry::Put(RegKey root, const std::string& path, const std::string& name,
                         std::uint32_t type, const std::string& bytes) {
  Make(root, path)->Store(name, type, bytes);
}

void MemoryRegistry::PutString(RegKey root, const std::string& path, const std::string& name,
                               const std::string& text, std::uint32_t type) {
  Put(root, path, name, type, text + '\0');
}

void MemoryRegistry::PutDword(RegKey root, const std::string& path, const std::string& name,
                              std::uint32_t value) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  Put(root, path, name, kRegDword, bytes);
}

bool MemoryRegistry::Get(RegKey root, const std::string& path, const std::string& name,
                         std::uint32_t* type, std::string* bytes) const {
  std::shared_ptr<Node> node = Find(Resolve(root), path);
  Node::Value* value = node ? node->FindValue(name) : nullptr;
  if (!value) return false;
  if (type) *type = value->type;
  if (bytes) *bytes = value->data;
  return true;
}

bool MemoryRegistry::HasKey(RegKey root, const std::string& path) const {
  return Find(Resolve(root), path) != nullptr;
}

bool MemoryRegistry::HasValue(RegKey root, const std::string& path, const std::string& name) const {
  return Get(root, path, name, nullptr, nullptr);
}

std::vector<std::string> MemoryRegistry::ValueNames(RegKey root, const std::string& path) const {
  std::vector<std::string> names;
  if (std::shared_ptr<Node> node = Find(Resolve(root), path)) {
    for (const auto& value : node->values) names.push_back(value->name);
  }
  return names;
}

void MemoryRegistry::AddKey(RegKey root, const std::string& path) { Make(root, path); }

void MemoryRegistry::RemoveKey(RegKey root, const std::string& path) {
  std::shared_ptr<Node> node = Find(Resolve(root), path);
  if (node && node->parent) node->Detach();
}

void MemoryRegistry::DenyWrite(RegKey root, const std::string& path, bool deny) {
  SetDenied(&writeDenied_, root, path, deny);
}

void MemoryRegistry::DenyAccess(RegKey root, const std::string& path, bool deny) {
  SetDenied(&accessDenied_, root, path, deny);
}

Status MemoryRegistry::UnrepresentableValues(RegKey key, std::vector<std::uint32_t>* indices) {
  Tick();
  indices->clear();
  std::shared_ptr<Node> node;
  if (Status status = Lookup(key, kKeyQueryValue, &node)) return status;
  for (std::size_t i = 0; i < node->values.size(); ++i)
    if (node->values[i]->unrepresentable) indices->push_back(static_cast<std::uint32_t>(i));
  return kOk;
}

void MemoryRegistry::MakeNameUnrepresentable(RegKey root, const std::string& path,
                                             const std::string& name) {
  std::shared_ptr<Node> node = Find(Resolve(root), path);
  Node::Value* value = node ? node->FindValue(name) : nullptr;
  if (!value) return;
  node->byName.erase(value->folded);
  value->unrepresentable = true;
  value->folded = '\x01' + value->folded;  // no ANSI name folds to this
  node->byName.emplace(value->folded, value);
}

}  // namespace qel::mem
