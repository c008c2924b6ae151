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
#ifdef MoveFile
#undef MoveFile
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
  // Creates or truncates the file with plain attributes and flushes it to the
  // disk. A failure part-way is reported. Windows refuses (kAccessDenied) to
  // replace a hidden or system file this way: see WriteKeptFiles.
  virtual Status WriteFile(const std::string& path, const std::string& bytes) = 0;
  // Renames a file. With replace, MoveFileExA replacing an existing target in
  // one step (Windows refuses a read-only target; Wine does not); Windows 9x has only a stub of it,
  // which gives kCallNotImplemented. Without, MoveFileA: kAlreadyExists when
  // the target is there.
  virtual Status MoveFile(const std::string& from, const std::string& to, bool replace) = 0;
  // kAlreadyExists when something of that name is there.
  virtual Status CreateFolder(const std::string& path) = 0;
  // Only an empty folder goes.
  virtual Status RemoveFolder(const std::string& path) = 0;
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
