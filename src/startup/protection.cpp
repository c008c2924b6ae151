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

}  // namespace qel
