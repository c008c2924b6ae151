// Finding programs on the running Windows; shortcuts are read through the
// shell's own link object, with ole32.dll loaded only when one is read.
#pragma once

#include <string>

#include "platform/programs.h"

struct IShellLinkA;
struct IPersistFile;

namespace qel::win32 {

class Programs : public ProgramApi {
 public:
  Programs() = default;
  ~Programs() override;
  Programs(const Programs&) = delete;
  Programs& operator=(const Programs&) = delete;

  std::string ExpandEnvironment(const std::string& text) override;
  bool SearchPath(const std::string& name, std::string* found) override;
  bool IsFixedDrive(const std::string& root) override;
  std::uint32_t SetErrorMode(std::uint32_t mode) override;
  bool ShortcutTarget(const std::string& path, std::string* target) override;

 private:
  std::string searchFolders_;  // built at the first search
  bool triedShell_ = false;
  IShellLinkA* link_ = nullptr;  // the shell's link object, made at the first shortcut
  IPersistFile* file_ = nullptr;
};

}  // namespace qel::win32
