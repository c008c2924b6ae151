// The whole seam, handed to every window and subsystem.
#pragma once

#include "platform/files.h"
#include "platform/processes.h"
#include "platform/programs.h"
#include "platform/registry.h"
#include "platform/system.h"

namespace qel {

struct Platform {
  RegistryApi& registry;
  ProfileApi& profile;
  FileSystemApi& files;
  SystemApi& system;
  ProcessApi& processes;
  ProgramApi& programs;
};

}  // namespace qel
