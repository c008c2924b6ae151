// The file calls the program makes. Paths and names are ANSI bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/status.h"

// windows.h maps these names to their A/W forms; here they name our own.
#ifdef DeleteFile
#undef DeleteFile
#endif

namespace qel {

constexpr std::uint32_t kAttrReadOnly = 0x1;
constexpr std::uint32_t kAttrHidden = 0x2;
constexpr std::uint32_t kAttrSystem = 0x4;
constexpr std::uint32_t kAttrDirectory = 0x10;
constexpr std::uint32_t kAttrArchive = 0x20;
constexpr std::uint32_t kAttrNormal = 0x80;

struct FileEntry {
  std::string name;  // without the folder
  std::uint32_t attributes = 0;
};

class FileSystemApi {
 public:
  virtual ~FileSystemApi() = default;

  // Every entry of folder (FindFirstFileA on folder + "\*.*"), hidden, system
  // and directories included, "." and ".." left out, in the order the file
  // system returns them. The caller filters.
  virtual Status ListFolder(const std::string& folder, std::vector<FileEntry>* entries) = 0;
  virtual Status GetAttributes(const std::string& path, std::uint32_t* attributes) = 0;
  // 0 means no attribute at all (stored as a plain file).
  virtual Status SetAttributes(const std::string& path, std::uint32_t attributes) = 0;
  virtual Status DeleteFile(const std::string& path) = 0;
  virtual bool Exists(const std::string& path) = 0;
  virtual Status ReadFile(const std::string& path, std::string* bytes) = 0;
  // Creates or truncates the file. A failure part-way is reported.
  virtual Status WriteFile(const std::string& path, const std::string& bytes) = 0;
  // The indices, in ListFolder's order, of the entries of folder whose names
  // the ANSI code page cannot hold (Windows NT keeps them in Unicode): their
  // ANSI names carry '?' and no path built from them reaches the file.
  // None where names are ANSI (Windows 9x).
  virtual Status UnrepresentableFiles(const std::string& folder,
                                      std::vector<std::uint32_t>* indices) {
    (void)folder;
    indices->clear();
    return kOk;
  }
};

}  // namespace qel
