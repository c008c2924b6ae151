// The calls that find a program the way Windows does when it starts one: the
// environment, the search path, drive types and shortcuts. Texts are ANSI.
#pragma once

#include <cstdint>
#include <string>

// windows.h maps these names to their A/W forms; here they name our own.
#ifdef SearchPath
#undef SearchPath
#endif
#ifdef SetErrorMode
#undef SetErrorMode
#endif

namespace qel {

constexpr std::uint32_t kSemFailCriticalErrors = 0x1;

class ProgramApi {
 public:
  virtual ~ProgramApi() = default;

  // ExpandEnvironmentStringsA: variables that are not set stay as written.
  virtual std::string ExpandEnvironment(const std::string& text) = 0;
  // SearchPathA over the folders Windows searches for a program started by
  // its bare name: the system folders, the Windows folder, then PATH. name
  // carries its extension.
  virtual bool SearchPath(const std::string& name, std::string* found) = 0;
  // GetDriveTypeA of a root such as "C:\": a fixed disk or not.
  virtual bool IsFixedDrive(const std::string& root) = 0;
  // SetErrorMode; gives back the mode it replaced.
  virtual std::uint32_t SetErrorMode(std::uint32_t mode) = 0;
  // The path a shortcut (.lnk) points at, read through the shell. False when
  // the shortcut cannot be read; an empty target is one that is no file.
  virtual bool ShortcutTarget(const std::string& path, std::string* target) = 0;
};

}  // namespace qel
