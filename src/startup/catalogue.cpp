#include "startup/catalogue.h"

#include <cstring>

namespace qel {
namespace {

#define CV_ "\\Microsoft\\Windows\\CurrentVersion\\"
#define LM_ "HKEY_LOCAL_MACHINE\\"
#define CU_ "HKEY_CURRENT_USER\\"
#define PR_ CV_ "Policies\\Explorer\\Run"
#define OTHER_VIEW_(tag, shown, key)                                                       \
  {tag, PlaceKind::RegistryKey, kHkeyLocalMachine, "SOFTWARE" CV_ key, "SOFTWARE" CV_ key, \
   "SOFTWARE" CV_ key, nullptr, nullptr, LM_ shown CV_ key, LM_ shown CV_ key "-", true}

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
    // The same HKLM keys in the other registry view, with the own view's
    // location texts. The tags name the 64-bit view, the other one of the
    // 32-bit program on 64-bit Windows.
    OTHER_VIEW_("reg64", "Software", "Run"),
    OTHER_VIEW_("regs64", "Software", "RunServices"),
    OTHER_VIEW_("HKLMrunonce64", "SOFTWARE", "RunOnce"),
    OTHER_VIEW_("HKLMRunServicesOnce64", "SOFTWARE", "RunServicesOnce"),
    OTHER_VIEW_("HKLMRunOnceEx64", "SOFTWARE", "RunOnceEx"),
    // The policy Run keys, which start programs at every logon like Run.
    {"HKLMPoliciesRun", PlaceKind::RegistryKey, kHkeyLocalMachine, "Software" PR_, "Software" PR_,
     "Software" PR_, nullptr, nullptr, LM_ "Software" PR_, LM_ "Software" PR_ "-"},
    {"HKCUPoliciesRun", PlaceKind::RegistryKey, kHkeyCurrentUser, "Software" PR_, "Software" PR_,
     "Software" PR_, nullptr, nullptr, CU_ "Software" PR_, CU_ "Software" PR_ "-"},
    {"HKLMPoliciesRun64", PlaceKind::RegistryKey, kHkeyLocalMachine, "Software" PR_,
     "Software" PR_, "Software" PR_, nullptr, nullptr, LM_ "Software" PR_, LM_ "Software" PR_ "-",
     true},
    {"startup", PlaceKind::StartupFolder, kHkeyCurrentUser, kShellFoldersKey, nullptr, nullptr,
     nullptr, nullptr, "开始菜单－程序－启动(删除后不可恢复)", "注意：不可恢复", false, "startup"},
    {"commonstartup", PlaceKind::StartupFolder, kHkeyLocalMachine, kShellFoldersKey, nullptr,
     nullptr, nullptr, nullptr, "所有用户的开始菜单－程序－启动(删除后不可恢复)",
     "注意：不可恢复（所有用户的启动文件夹）", false, "Common Startup"},
    {"load", PlaceKind::WinIni, 0, nullptr, nullptr, nullptr, "load", "noload",
     "Win.ini文件的load项", "Win.ini文件的noload项"},
    {"run", PlaceKind::WinIni, 0, nullptr, nullptr, nullptr, "run", "norun", "Win.ini文件的run项",
     "Win.ini文件的norun项"},
};

#undef CV_
#undef LM_
#undef CU_
#undef PR_
#undef OTHER_VIEW_

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

bool ViewOfSource(const StartupSource& source, RegistryApi& registry, std::uint32_t* view) {
  *view = source.otherView ? registry.OtherView() : 0;
  return !source.otherView || *view != 0;
}

namespace {

// Whether path under root is one key in both views.
bool SameKeyInBothViews(RegistryApi& registry, RegKey root, const std::string& path) {
  std::string identity[2];
  RegKey keys[2] = {};
  const std::uint32_t views[2] = {0, registry.OtherView()};
  bool known = true;
  for (int i = 0; i < 2; ++i) {
    known = known && registry.OpenKey(root, path, kKeyQueryValue | views[i], &keys[i]) == kOk;
    known = known && registry.KeyIdentity(keys[i], &identity[i]) == kOk;
  }
  for (RegKey key : keys)
    if (key) registry.CloseKey(key);
  return known && identity[0] == identity[1];
}

}  // namespace

bool SharedWithOwnView(RegistryApi& registry, const StartupSource& source, bool enabled) {
  return source.otherView && registry.OtherView() &&
         SameKeyInBothViews(registry, source.root, KeyPath(source.scanPath, enabled));
}

bool InWow6432Node(RegistryApi& registry, RegKey root, const std::string& path,
                   std::uint32_t view) {
  const std::uint32_t other = registry.OtherView();
  const bool view32 = view ? view == kKeyWow64_32Key : other == kKeyWow64_64Key;
  return root == kHkeyLocalMachine && other && view32 &&
         !SameKeyInBothViews(registry, root, path);
}

std::string LocationText(const StartupSource& source, bool enabled, std::uint32_t otherView) {
  std::string text = enabled ? source.enabledLocation : source.disabledLocation;
  if (source.otherView) text += otherView == kKeyWow64_32Key ? "（32位）" : "（64位）";
  return text;
}

bool ApprovalPlaceOf(const StartupSource& source, RegistryApi& registry, ApprovalPlace* place) {
  constexpr char kApproved[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\";
  static const std::string run = std::string(kApproved) + "Run", run32 = run + "32",
                           folder = std::string(kApproved) + "StartupFolder";
  const std::string tag = source.tag;
  const std::uint32_t other = registry.OtherView();
  place->root = source.root;
  // HKLM's flags are where Task Manager, a 64-bit program, keeps them: its view.
  place->view = source.root == kHkeyLocalMachine && other ? kKeyWow64_64Key : 0;
  if (source.kind == PlaceKind::StartupFolder) {
    place->key = folder.c_str();
  } else if (tag == "reg2") {
    place->key = run.c_str();
  } else if (tag == "reg" || tag == "reg64") {
    // HKLM Run entries of the 32-bit view have their flags in Run32.
    const bool view32 = other == (source.otherView ? kKeyWow64_32Key : kKeyWow64_64Key);
    place->key = view32 ? run32.c_str() : run.c_str();
  } else {
    return false;
  }
  return true;
}

std::string KeyPath(const char* path, bool enabled) {
  std::string key = path;
  if (!enabled) key += '-';
  return key;
}

const ManagedKey* ManagedKeysInCommitOrder() { return kManagedKeys; }

const std::vector<ManagedKey>& AllManagedKeys() {
  static const std::vector<ManagedKey> keys = [] {
    std::vector<ManagedKey> all(kManagedKeys, kManagedKeys + kManagedKeyCount);
    for (const StartupSource& source : kSources) {
      if (source.kind != PlaceKind::RegistryKey) continue;
      bool listed = false;
      for (const ManagedKey& key : all) listed = listed || key.source == &source;
      if (!listed) all.insert(all.end(), {{&source, true}, {&source, false}});
    }
    return all;
  }();
  return keys;
}

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
