#include "startup/catalogue.h"

#include <cstring>

namespace qel {
namespace {

#define CV_ "\\Microsoft\\Windows\\CurrentVersion\\"
#define LM_ "HKEY_LOCAL_MACHINE\\"
#define CU_ "HKEY_CURRENT_USER\\"

// The key literals differ in letter case from one component to the next;
// the registry ignores case, so they are kept as each component spells them.
const StartupSource kSources[kSourceCount] = {
    {"reg", PlaceKind::RegistryKey, kHkeyLocalMachine, "SOFTWARE" CV_ "Run", "SOFTWARE" CV_ "Run",
     "SOFTWARE" CV_ "Run", nullptr, nullptr, LM_ "Software" CV_ "Run", LM_ "Software" CV_ "Run-"},
    {"regs", PlaceKind::RegistryKey, kHkeyLocalMachine, "Software" CV_ "RunServices",
     "SOFTWARE" CV_ "runServices", "SOFTWARE" CV_ "runServices", nullptr, nullptr,
     LM_ "Software" CV_ "RunServices", LM_ "Software" CV_ "RunServices-"},
    {"HKLMrunonce", PlaceKind::RegistryKey, kHkeyLocalMachine, "Software" CV_ "RunOnce",
     "Software" CV_ "RunOnce", "SOFTWARE" CV_ "runOnce", nullptr, nullptr,
     LM_ "SOFTWARE" CV_ "RunOnce", LM_ "SOFTWARE" CV_ "RunOnce-"},
    {"HKLMRunServicesOnce", PlaceKind::RegistryKey, kHkeyLocalMachine,
     "Software" CV_ "RunServicesOnce", "Software" CV_ "RunServicesOnce",
     "SOFTWARE" CV_ "RunServicesOnce", nullptr, nullptr, LM_ "SOFTWARE" CV_ "RunServicesOnce",
     LM_ "SOFTWARE" CV_ "RunServicesOnce-"},
    {"reg2", PlaceKind::RegistryKey, kHkeyCurrentUser, "Software" CV_ "Run", "SOFTWARE" CV_ "Run",
     "SOFTWARE" CV_ "Run", nullptr, nullptr, CU_ "Software" CV_ "Run", CU_ "Software" CV_ "Run-"},
    {"reg2s", PlaceKind::RegistryKey, kHkeyCurrentUser, "SOFTWARE" CV_ "RunServices",
     "SOFTWARE" CV_ "runServices", "SOFTWARE" CV_ "runServices", nullptr, nullptr,
     CU_ "Software" CV_ "RunServices", CU_ "Software" CV_ "RunServices-"},
    {"HKCUrunonce", PlaceKind::RegistryKey, kHkeyCurrentUser, "Software" CV_ "RunOnce",
     "Software" CV_ "RunOnce", "SOFTWARE" CV_ "runOnce", nullptr, nullptr,
     CU_ "SOFTWARE" CV_ "RunOnce", CU_ "SOFTWARE" CV_ "RunOnce-"},
    {"HKCURunServicesOnce", PlaceKind::RegistryKey, kHkeyCurrentUser,
     "Software" CV_ "RunServicesOnce", "Software" CV_ "RunServicesOnce",
     "SOFTWARE" CV_ "RunServicesOnce", nullptr, nullptr, CU_ "SOFTWARE" CV_ "RunServicesOnce",
     CU_ "SOFTWARE" CV_ "RunServicesOnce-"},
    {"HKLMRunOnceEx", PlaceKind::RegistryKey, kHkeyLocalMachine, "Software" CV_ "RunOnceEx",
     "Software" CV_ "RunOnceEx", "SOFTWARE" CV_ "RunOnceEx", nullptr, nullptr,
     LM_ "SOFTWARE" CV_ "RunOnceEx", LM_ "SOFTWARE" CV_ "RunOnceEx-"},
    {"HKCURunOnceEx", PlaceKind::RegistryKey, kHkeyCurrentUser, "Software" CV_ "RunOnceEx",
     "Software" CV_ "RunOnceEx", "SOFTWARE" CV_ "RunOnceEx", nullptr, nullptr,
     CU_ "SOFTWARE" CV_ "RunOnceEx", CU_ "SOFTWARE" CV_ "RunOnceEx-"},
    {"startup", PlaceKind::StartupFolder, 0, nullptr, nullptr, nullptr, nullptr, nullptr,
     "开始菜单－程序－启动(删除后不可恢复)", "注意：不可恢复"},
    {"load", PlaceKind::WinIni, 0, nullptr, nullptr, nullptr, "load", "noload",
     "Win.ini文件的load项", "Win.ini文件的noload项"},
    {"run", PlaceKind::WinIni, 0, nullptr, nullptr, nullptr, "run", "norun", "Win.ini文件的run项",
     "Win.ini文件的norun项"},
};

#undef CV_
#undef LM_
#undef CU_

// Families Run, RunServices, RunOnce, RunServicesOnce, RunOnceEx; HKLM first.
const ManagedKey kManagedKeys[kManagedKeyCount] = {
    {&kSources[0], true}, {&kSources[0], false}, {&kSources[4], true}, {&kSources[4], false},
    {&kSources[1], true}, {&kSources[1], false}, {&kSources[5], true}, {&kSources[5], false},
    {&kSources[2], true}, {&kSources[2], false}, {&kSources[6], true}, {&kSources[6], false},
    {&kSources[3], true}, {&kSources[3], false}, {&kSources[7], true}, {&kSources[7], false},
    {&kSources[8], true}, {&kSources[8], false}, {&kSources[9], true}, {&kSources[9], false},
};

}  // namespace

const StartupSource* StartupSources() { return kSources; }

const StartupSource* FindSource(const std::string& tag) {
  for (const StartupSource& source : kSources)
    if (tag == source.tag) return &source;
  return nullptr;
}

std::string KeyPath(const char* path, bool enabled) {
  std::string key = path;
  if (!enabled) key += '-';
  return key;
}

const ManagedKey* ManagedKeysInCommitOrder() { return kManagedKeys; }

bool IsListedValueType(std::uint32_t type, std::uint32_t size) {
  switch (type) {
    case kRegSz:
    case kRegExpandSz: return true;
    case kRegBinary:
    case kRegDword: return size <= 4;
    default: return false;
  }
}

}  // namespace qel
