#include "platform/memory/memory_platform.h"

namespace qel::mem {

MemoryPlatform::MemoryPlatform() {
  files_.AddFolder("C:\\WINDOWS\\SYSTEM");
  files_.AddFolder("C:\\Program Files\\Qelmora");
}

}  // namespace qel::mem
