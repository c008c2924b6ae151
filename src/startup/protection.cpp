#include "startup/protection.h"

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

void WriteLock(Module1& registry, const char* key, const char* name, bool locked) {
  if (locked) {
    RegValue one = RegValue::FromInteger(1);
    std::uint32_t size = 4;
    registry.WriteRegValue(kHkeyCurrentUser, key, name, kRegDword, &one, &size);
  } else {
    registry.DeleteRegValue(kHkeyCurrentUser, key, name);
  }
}

// Notes the value unless it already holds wanted (type and bytes); a null
// wanted: the value is deleted.
void NoteChange(Module1& registry, RegKey root, const char* key, const char* name,
                const RegValueInfo* wanted, std::vector<ChangedValue>* values) {
  RegValue ignored;
  RegValueInfo now;
  if (registry.ReadRegValue(root, key, name, &ignored, &now) != kOk) return;
  if (wanted && now.type == wanted->type && now.bytes == wanted->bytes) return;
  values->push_back({root, key, name, now.type, now.bytes});
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
  WriteLock(registry, kSystemPolicyKey, kRegistryToolsValue, settings.registryEditorLocked);
  WriteLock(registry, kControlPanelKey, kHomePageValue, settings.homePageLocked);
  for (RegKey root : {kHkeyCurrentUser, kHkeyLocalMachine}) {
    if (!settings.writeStartPage) break;
    RegValue page = RegValue::FromText(settings.startPage);
    std::uint32_t size = 0;
    registry.WriteRegValue(root, kBrowserMainKey, kStartPageValue, kRegSz, &page, &size);
  }
  registry.DeleteRegValue(kHkeyCurrentUser, kExplorerPolicyKey, "NoRun");
  registry.DeleteRegValue(kHkeyCurrentUser, kExplorerPolicyKey, "NoClose");
}

void DescribeProtectionChanges(Module1& registry, const ProtectionSettings& settings,
                               std::vector<ChangedValue>* values) {
  const RegValueInfo one{kRegDword, std::string("\1\0\0\0", 4)};
  NoteChange(registry, kHkeyCurrentUser, kSystemPolicyKey, kRegistryToolsValue,
             settings.registryEditorLocked ? &one : nullptr, values);
  NoteChange(registry, kHkeyCurrentUser, kControlPanelKey, kHomePageValue,
             settings.homePageLocked ? &one : nullptr, values);
  const RegValueInfo page{kRegSz, settings.startPage + '\0'};
  for (RegKey root : {kHkeyCurrentUser, kHkeyLocalMachine})
    if (settings.writeStartPage)
      NoteChange(registry, root, kBrowserMainKey, kStartPageValue, &page, values);
  for (const char* name : {"NoRun", "NoClose"})
    NoteChange(registry, kHkeyCurrentUser, kExplorerPolicyKey, name, nullptr, values);
}

}  // namespace qel
