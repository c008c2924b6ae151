// The places programs start from: one table that the scanner, the detail
// panel and the commit all read.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace qel {

enum class PlaceKind { RegistryKey, StartupFolder, WinIni };

struct StartupSource {
  const char* tag;  // compared exactly, case-sensitive
  PlaceKind kind;
  RegKey root;  // registry sources only
  // Registry sources: the key path each component passes (the twin adds "-").
  const char* scanPath;
  const char* emptyPath;
  const char* writePath;
  // Win.ini sources: the key holding the enabled and the disabled entry.
  const char* iniKey;
  const char* iniDisabledKey;
  // Location texts shown in the detail panel (UTF-8); LocationText adds the
  // view's name for the other view.
  const char* enabledLocation;
  const char* disabledLocation;
  // HKLM keys as the registry view this program does not see by default
  // shows them (RegistryApi::OtherView): only where a second view exists.
  bool otherView = false;
  // Startup folders: the value of root's Shell Folders key naming the folder.
  const char* folderValue = nullptr;
};

constexpr int kSourceCount = 22;
// In scan order.
const StartupSource* StartupSources();
// Null for a tag that names no source.
const StartupSource* FindSource(const std::string& tag);

// The key of a source that holds its entries while enabled or disabled.
std::string KeyPath(const char* path, bool enabled);

// The open flag of the view a registry source lives in: 0 for the program's
// own. A source of the other view on a machine with one view: false.
bool ViewOfSource(const StartupSource& source, RegistryApi& registry, std::uint32_t* view);

// Whether the other view's key of source is the own view's key, which Windows
// shares between the views: then it is listed and tidied once, as the own's.
bool SharedWithOwnView(RegistryApi& registry, const StartupSource& source, bool enabled);
// Whether a key seen through view (an open flag, 0 for the own view) is the
// 32-bit view's own copy on a 64-bit Windows, kept under SOFTWARE\Wow6432Node.
bool InWow6432Node(RegistryApi& registry, RegKey root, const std::string& path,
                   std::uint32_t view);

// The location text of a row (UTF-8). otherView: RegistryApi::OtherView.
std::string LocationText(const StartupSource& source, bool enabled, std::uint32_t otherView);

// The twenty keys of the program's own view in the order the commit tidies
// them: by family, HKLM key, HKLM twin, HKCU key, HKCU twin.
struct ManagedKey {
  const StartupSource* source;
  bool enabled;
};
constexpr int kManagedKeyCount = 20;
const ManagedKey* ManagedKeysInCommitOrder();
// Those twenty, then every other registry key of the catalogue and its twin.
const std::vector<ManagedKey>& AllManagedKeys();

constexpr char kWinIniSection[] = "windows";
constexpr char kShellFoldersKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// Where Task Manager (Windows 8 and later) keeps its own switch for an entry
// of a source: root, key and view; false for sources it does not manage.
struct ApprovalPlace {
  RegKey root = 0;
  const char* key = nullptr;
  std::uint32_t view = 0;
};
bool ApprovalPlaceOf(const StartupSource& source, RegistryApi& registry, ApprovalPlace* place);

// Values the program can show as text: strings, and integers of up to four
// bytes. Anything else is never listed and never touched.
bool IsListedValueType(std::uint32_t type, std::uint32_t size);

}  // namespace qel
