// The file calls of kernel32.
#pragma once

#include "platform/files.h"

namespace qel::win32 {

class FileSystem : public FileSystemApi {
 public:
  Status ListFolder(const std::string& folder, std::vector<FileEntry>* entries) override;
  Status GetAttributes(const std::string& path, std::uint32_t* attributes) override;
  Status SetAttributes(const std::string& path, std::uint32_t attributes) override;
  Status DeleteFile(const std::string& path) override;
  bool Exists(const std::string& path) override;
  Status ReadFile(const std::string& path, std::string* bytes) override;
  Status WriteFile(const std::string& path, const std::string& bytes) override;
  Status MoveFile(const std::string& from, const std::string& to, bool replace) override;
  Status CreateFolder(const std::string& path) override;
  Status RemoveFolder(const std::string& path) override;
  Status UnrepresentableFiles(const std::string& folder,
                              std::vector<std::uint32_t>* indices) override;
};

}  // namespace qel::win32
