// The real Windows behind the platform seam.
#pragma once

#include "platform/platform.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_processes.h"
#include "platform/win32/win32_profile.h"
#include "platform/win32/win32_programs.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_system.h"

namespace qel::win32 {

class Win32Platform {
 public:
  Win32Platform() = default;
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  Platform& platform() { return platform_; }

 private:
  Registry registry_;
  Profile profile_;
  FileSystem files_;
  System system_;
  Processes processes_;
  Programs programs_;
  Platform platform_{registry_, profile_, files_, system_, processes_, programs_};
};

}  // namespace qel::win32
