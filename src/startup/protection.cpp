#include "startup/protection.h"

#include <optional>

namespace qel {
namespace {

constexpr char kSystemPolicyKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\policies\\System";
constexpr char kRegistryToolsValue[] = "Disableregistrytools";
constexpr char kControlPanelKey[] =
    "Software\\Policies\\Microsoft\\Internet Explorer\\Control Panel";
constexpr char kHomePageValue[] = "HomePage";
constexpr char kBrowserMainKey[] = "Software\\Microsoft\\Internet Explorer\\Main";
constexpr char kStartPageValue[] = "start page";
constexpr char kExplorerPolicyKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";

bool HoldsOne(Module1& registry, const char* key, const char* name) {
  RegValue value;
  registry.ReadRegValue(kHkeyCurrentUser, key, name, &value);
  // Only ever written as REG_DWORD; a text "1" counts the same, as people
  // set these by hand too.
  return value.AsInteger() == 1;
}

// One value the confirm writes for the switches: its new type and bytes, or
// none to delete it. Both the writes and the backup's list come from here.
struct SwitchWrite {
  RegKey root;
  const char* key;
  const char* name;
  std::optional<RegValueInfo> wanted;
};

std::vector<SwitchWrite> SwitchWrites(const ProtectionSettings& settings) {
  const RegValueInfo one{kRegDword, std::string("\1\0\0\0", 4)};
  auto lock = [&](bool on) { return on ? std::optional(one) : std::nullopt; };
  std::vector<SwitchWrite> writes = {
      {kHkeyCurrentUser, kSystemPolicyKey, kRegistryToolsValue, lock(settings.registryEditorLocked)},
      {kHkeyCurrentUser, kControlPanelKey, kHomePageValue, lock(settings.homePageLocked)}};
  const RegValueInfo page{kRegSz, settings.startPage + '\0'};
  if (settings.writeStartPage)
    for (RegKey root : {kHkeyCurrentUser, kHkeyLocalMachine})
      writes.push_back({root, kBrowserMainKey, kStartPageValue, page});
  for (const char* name : {"NoRun", "NoClose"})
    writes.push_back({kHkeyCurrentUser, kExplorerPolicyKey, name, std::nullopt});
  return writes;
}

}  // namespace

std::string ReadStartPage(Module1& registry, bool* unreadable) {
  RegValue value;
  Status status = registry.ReadRegValue(kHkeyCurrentUser, kBrowserMainKey, kStartPageValue, &value);
  const bool text = status == kOk && value.kind() == RegValue::Kind::Text;
  if (unreadable) *unreadable = !text && status != kFileNotFound;
  return text ? value.TextForm() : std::string();
}

void ReadProtectionSwitches(Module1& registry, ProtectionSettings* settings) {
  settings->registryEditorLocked = HoldsOne(registry, kSystemPolicyKey, kRegistryToolsValue);
  settings->homePageLocked = HoldsOne(registry, kControlPanelKey, kHomePageValue);
}

std::string NormaliseStartPage(const std::string& text) {
  return text.empty() ? "about:blank" : text;
}

void WriteProtectionSwitches(Module1& registry, const ProtectionSettings& settings) {
  for (const SwitchWrite& write : SwitchWrites(settings)) {
    if (write.wanted)
      registry.WriteRegBytes(write.root, write.key, write.name, write.wanted->type,
                             write.wanted->bytes);
    else
      registry.DeleteRegValue(write.root, write.key, write.name);
  }
}

void DescribeProtectionChanges(Module1& registry, const ProtectionSettings& settings,
                               std::vector<ChangedValue>* values) {
  for (const SwitchWrite& write : SwitchWrites(settings)) {
    RegValueInfo now;
    if (registry.ReadRegBytes(write.root, write.key, write.name, &now) != kOk) continue;
    if (write.wanted && now.type == write.wanted->type && now.bytes == write.wanted->bytes)
      continue;
    values->push_back({write.root, write.key, write.name, now.type, now.bytes});
  }
}

}  // namespace qel
