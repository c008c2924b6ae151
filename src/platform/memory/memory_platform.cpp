#include "platform/memory/memory_platform.h"

namespace qel::mem {

MemoryPlatform::MemoryPlatform() {
  files_.AddFolder(MemorySystem::kSystemDirectory);
  files_.AddFolder(MemorySystem::kProgramFolder);
}

}  // namespace qel::mem
