// The whole seam, handed to every window and subsystem.
#pragma once

#include "platform/files.h"
#include "platform/registry.h"
#include "platform/system.h"

namespace qel {

struct Platform {
  RegistryApi& registry;
  ProfileApi& profile;
  FileSystemApi& files;
  SystemApi& system;
};

}  // namespace qel
