// A file system in memory: drives, folders and files with attributes.
// Paths are ANSI, separated by backslashes, matched case-insensitively.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/memory/call_meter.h"

namespace qel::mem {

// Routes the platform's Exists through another name, so that MemoryFiles can
// offer a test-side Exists that hides it and is never metered: a test that
// checks the files after a power cut must not be cut off itself.
class MeteredExists : public FileSystemApi {
 public:
  bool Exists(const std::string& path) final { return ExistsCall(path); }

 protected:
  virtual bool ExistsCall(const std::string& path) = 0;
};

class MemoryFiles : public MeteredExists {
 public:
  explicit MemoryFiles(CallMeter* meter = nullptr);
  ~MemoryFiles() override;

  Status ListFolder(const std::string& folder, std::vector<FileEntry>* entries) override;
  Status GetAttributes(const std::string& path, std::uint32_t* attributes) override;
  Status SetAttributes(const std::string& path, std::uint32_t attributes) override;
  Status DeleteFile(const std::string& path) override;
  Status ReadFile(const std::string& path, std::string* bytes) override;
  Status WriteFile(const std::string& path, const std::string& bytes) override;
  // A name holding '?' stands for one the code page cannot hold: add such a
  // file with AddFile; no path reaches it (a '?' in a path is invalid).
  Status UnrepresentableFiles(const std::string& folder,
                              std::vector<std::uint32_t>* indices) override;

  // Test-side controls: not platform calls, never metered. Missing folders
  // on the way are created.
  void AddFolder(const std::string& path);
  // Files always carry kAttrArchive besides the attributes given, as under
  // Wine; kAttrNormal is never reported.
  void AddFile(const std::string& path, const std::string& bytes, std::uint32_t attributes = 0);
  bool FileBytes(const std::string& path, std::string* bytes) const;
  // 0xFFFFFFFF when missing.
  std::uint32_t Attributes(const std::string& path) const;
  bool Exists(const std::string& path) const;  // hides the metered one on purpose
  // A locked file refuses attribute changes, deletion, reading and writing
  // with kSharingViolation, as a file another program holds open.
  void Lock(const std::string& path, bool locked);
  // Creating, writing or deleting a file in this folder fails with
  // kAccessDenied.
  void SetReadOnlyFolder(const std::string& folder, bool readOnly);
  // A write stores the first half of its bytes and fails with kDiskFull.
  void SetDiskFull(bool full) { diskFull_ = full; }
  // Makes a file vanish, as another program deleting it would.
  void RemoveFile(const std::string& path);

  struct Node;

 private:
  bool ExistsCall(const std::string& path) override;
  // Finds path; on failure gives the status Windows gives for it (a missing
  // last part kFileNotFound, a missing folder on the way kPathNotFound).
  Status Locate(const std::string& path, Node** node, Node** parent = nullptr) const;
  Node* Make(const std::string& path, bool folder);
  void Tick();

  CallMeter* meter_;
  std::unique_ptr<Node> top_;  // holds the drives
  bool diskFull_ = false;
};

}  // namespace qel::mem
