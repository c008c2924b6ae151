// The thirteen places programs start from: one table that the scanner, the
// detail panel and the commit all read.
#pragma once

#include <cstdint>
#include <string>

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
  // Location texts shown in the detail panel (UTF-8).
  const char* enabledLocation;
  const char* disabledLocation;
};

constexpr int kSourceCount = 13;
// In scan order.
const StartupSource* StartupSources();
// Null for a tag that names no source.
const StartupSource* FindSource(const std::string& tag);

// The key of a source that holds its entries while enabled or disabled.
std::string KeyPath(const char* path, bool enabled);

// The twenty keys in the order the commit tidies them: by family, HKLM key,
// HKLM twin, HKCU key, HKCU twin.
struct ManagedKey {
  const StartupSource* source;
  bool enabled;
};
constexpr int kManagedKeyCount = 20;
const ManagedKey* ManagedKeysInCommitOrder();

constexpr char kWinIniSection[] = "windows";
constexpr char kShellFoldersKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr char kStartupValue[] = "startup";

// Values the program can show as text: strings, and integers of up to four
// bytes. Anything else is never listed and never touched.
bool IsListedValueType(std::uint32_t type, std::uint32_t size);

}  // namespace qel
