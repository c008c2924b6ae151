#include "platform/memory/memory_files.h"

#include <algorithm>

#include "platform/memory/ansi_names.h"

namespace qel::mem {

namespace {

constexpr std::uint32_t kInvalidAttributes = 0xFFFFFFFFu;
// What listing a file as a folder gives.
constexpr Status kInvalidName = 123;
// The bits SetFileAttributes can change.
constexpr std::uint32_t kSettable =
    kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrArchive | 0x100 | 0x1000 | 0x2000;

// Wine reports every file with the archive bit, whatever was set; a folder
// only ever has the directory bit added.
std::uint32_t Normalized(std::uint32_t attributes, bool folder) {
  std::uint32_t kept = attributes & kSettable;
  return folder ? kept | kAttrDirectory : kept | kAttrArchive;
}

}  // namespace

struct MemoryFiles::Node {
  std::string name;
  bool folder = false;
  std::uint32_t attributes = 0;
  std::string bytes;
  bool locked = false;
  bool readOnlyFolder = false;
  std::vector<std::unique_ptr<Node>> children;

  Node* Child(const std::string& childName) const {
    for (const auto& child : children) {
      if (SameName(child->name, childName)) return child.get();
    }
    return nullptr;
  }
  void Remove(const Node* child) {
    children.erase(std::find_if(children.begin(), children.end(),
                                [&](const std::unique_ptr<Node>& c) { return c.get() == child; }));
  }
};

MemoryFiles::MemoryFiles(CallMeter* meter) : meter_(meter), top_(std::make_unique<Node>()) {
  top_->folder = true;
}

MemoryFiles::~MemoryFiles() = default;

void MemoryFiles::Tick() {
  if (meter_) meter_->Tick();
}

Status MemoryFiles::Locate(const std::string& path, Node** node, Node** parent) const {
  if (path.find_first_of("?*") != std::string::npos) return kInvalidName;
  std::vector<std::string> parts = SplitPath(path, true);
  if (parts.empty()) return kPathNotFound;
  Node* at = top_.get();
  Node* above = nullptr;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (!at->folder) return kPathNotFound;
    above = at;
    at = at->Child(parts[i]);
    if (parent) *parent = above;  // also for a missing last part: where it would go
    if (!at) return i + 1 == parts.size() ? kFileNotFound : kPathNotFound;
  }
  *node = at;
  return kOk;
}

MemoryFiles::Node* MemoryFiles::Make(const std::string& path, bool folder) {
  std::vector<std::string> parts = SplitPath(path, true);
  Node* at = top_.get();
  for (std::size_t i = 0; i < parts.size(); ++i) {
    Node* child = at->Child(parts[i]);
    if (!child) {
      auto made = std::make_unique<Node>();
      made->name = parts[i];
      made->folder = folder || i + 1 < parts.size();
      made->attributes = made->folder ? kAttrDirectory : kAttrArchive;
      child = made.get();
      at->children.push_back(std::move(made));
    }
    at = child;
  }
  return at;
}

Status MemoryFiles::ListFolder(const std::string& folder, std::vector<FileEntry>* entries) {
  Tick();
  entries->clear();
  Node* node = nullptr;
  Status status = Locate(folder, &node);
  if (status == kFileNotFound) return kPathNotFound;  // the folder itself is missing
  if (status) return status;
  if (!node->folder) return kInvalidName;
  for (const auto& child : node->children) entries->push_back({child->name, child->attributes});
  return kOk;
}

Status MemoryFiles::GetAttributes(const std::string& path, std::uint32_t* attributes) {
  Tick();
  Node* node = nullptr;
  if (Status status = Locate(path, &node)) return status;
  *attributes = node->attributes;
  return kOk;
}

Status MemoryFiles::SetAttributes(const std::string& path, std::uint32_t attributes) {
  Tick();
  Node* node = nullptr;
  if (Status status = Locate(path, &node)) return status;
  if (node->locked) return kSharingViolation;
  node->attributes = Normalized(attributes, node->folder);
  return kOk;
}

Status MemoryFiles::DeleteFile(const std::string& path) {
  Tick();
  Node* node = nullptr;
  Node* parent = nullptr;
  if (Status status = Locate(path, &node, &parent)) return status;
  if (node->folder || (node->attributes & kAttrReadOnly) || parent->readOnlyFolder) {
    return kAccessDenied;
  }
  if (node->locked) return kSharingViolation;
  parent->Remove(node);
  return kOk;
}

bool MemoryFiles::ExistsCall(const std::string& path) {
  Tick();
  return Exists(path);
}

Status MemoryFiles::ReadFile(const std::string& path, std::string* bytes) {
  Tick();
  Node* node = nullptr;
  if (Status status = Locate(path, &node)) return status;
  if (node->folder) return kAccessDenied;
  if (node->locked) return kSharingViolation;
  *bytes = node->bytes;
  return kOk;
}

Status MemoryFiles::WriteFile(const std::string& path, const std::string& bytes) {
  Tick();
  if (SplitPath(path, true).size() < 2) return kPathNotFound;  // a drive is no file
  Node* node = nullptr;
  Node* parent = nullptr;
  Status status = Locate(path, &node, &parent);
  if (status == kPathNotFound) return status;
  if (status == kFileNotFound) {
    if (parent->readOnlyFolder) return kAccessDenied;
    node = Make(path, false);
  } else {
    // A read-only file or a folder cannot be replaced. A hidden or system
    // file can (under Wine; Windows itself refuses): it keeps its attributes.
    if (node->folder || (node->attributes & kAttrReadOnly) || parent->readOnlyFolder) {
      return kAccessDenied;
    }
    if (node->locked) return kSharingViolation;
  }
  if (diskFull_) {
    node->bytes = bytes.substr(0, bytes.size() / 2);
    return kDiskFull;
  }
  node->bytes = bytes;
  return kOk;
}

void MemoryFiles::AddFolder(const std::string& path) { Make(path, true); }

void MemoryFiles::AddFile(const std::string& path, const std::string& bytes,
                          std::uint32_t attributes) {
  Node* node = Make(path, false);
  node->bytes = bytes;
  node->attributes = Normalized(attributes, false);
}

bool MemoryFiles::FileBytes(const std::string& path, std::string* bytes) const {
  Node* node = nullptr;
  if (Locate(path, &node) || node->folder) return false;
  if (bytes) *bytes = node->bytes;
  return true;
}

std::uint32_t MemoryFiles::Attributes(const std::string& path) const {
  Node* node = nullptr;
  return Locate(path, &node) ? kInvalidAttributes : node->attributes;
}

bool MemoryFiles::Exists(const std::string& path) const {
  Node* node = nullptr;
  return Locate(path, &node) == kOk;
}

void MemoryFiles::Lock(const std::string& path, bool locked) {
  Node* node = nullptr;
  if (!Locate(path, &node)) node->locked = locked;
}

void MemoryFiles::SetReadOnlyFolder(const std::string& folder, bool readOnly) {
  Make(folder, true)->readOnlyFolder = readOnly;
}

void MemoryFiles::RemoveFile(const std::string& path) {
  Node* node = nullptr;
  Node* parent = nullptr;
  if (!Locate(path, &node, &parent)) parent->Remove(node);
}

Status MemoryFiles::UnrepresentableFiles(const std::string& folder,
                                         std::vector<std::uint32_t>* indices) {
  Tick();
  indices->clear();
  Node* node = nullptr;
  if (Status status = Locate(folder, &node)) return status;
  for (std::size_t i = 0; i < node->children.size(); ++i)
    if (node->children[i]->name.find('?') != std::string::npos)
      indices->push_back(static_cast<std::uint32_t>(i));
  return kOk;
}

}  // namespace qel::mem
