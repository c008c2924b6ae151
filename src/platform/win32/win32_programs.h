// Finding programs on the running Windows; shortcuts are read through the
// shell's own link object, with ole32.dll loaded only when one is read.
#pragma once

#include <string>

#include "platform/programs.h"

namespace qel::win32 {

class Programs : public ProgramApi {
 public:
  std::string ExpandEnvironment(const std::string& text) override;
  bool SearchPath(const std::string& name, std::string* found) override;
  bool IsFixedDrive(const std::string& root) override;
  std::uint32_t SetErrorMode(std::uint32_t mode) override;
  bool ShortcutTarget(const std::string& path, std::string* target) override;

 private:
  std::string searchFolders_;  // built at the first search
  enum class Com { Untried, Ready, Absent } com_ = Com::Untried;
  void* createInstance_ = nullptr;  // ole32's CoCreateInstance
};

}  // namespace qel::win32
