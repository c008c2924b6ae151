#include "startup/commit.h"

#include <unordered_map>
#include <unordered_set>

#include "startup/catalogue.h"
#include "startup/scanner.h"

namespace qel {
namespace {

bool IsNameChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '(' || c == ')';
}

bool HasEnvironmentReference(const std::string& text) {
  for (std::size_t start = text.find('%'); start != std::string::npos;) {
    std::size_t i = start + 1;
    while (i < text.size() && IsNameChar(text[i])) ++i;
    if (i < text.size() && text[i] == '%' && i > start + 1) return true;
    start = text.find('%', i);
  }
  return false;
}

std::string LittleEndian(std::int32_t value, std::size_t count) {
  std::uint32_t bits = static_cast<std::uint32_t>(value);
  std::string bytes;
  for (std::size_t i = 0; i < count; ++i) bytes += static_cast<char>(bits >> (8 * i));
  return bytes;
}

bool FitsInBytes(std::int32_t value, std::size_t count) {
  if (count >= 4) return true;
  return value >= 0 && static_cast<std::int64_t>(value) < (std::int64_t(1) << (8 * count));
}

// Where each registry row lands: source, enabled or twin, folded name.
std::string TargetKey(const StartupSource* source, bool enabled, const std::string& name) {
  std::string key = source->tag;
  key += enabled ? '+' : '-';
  key += FoldValueName(name);
  return key;
}

void WriteRows(Module1& registry, ProfileApi& profile, const EntryList& entries,
               std::unordered_set<std::string>* registryTargets,
               std::unordered_set<std::string>* iniTargets) {
  for (int i = 0; i < entries.Count(); ++i) {
    StartupEntry row = entries.Row(i);
    const StartupSource* source = FindSource(row.tag);
    if (!source) continue;  // a tag the catalogue does not know is written nowhere
    if (source->kind == PlaceKind::RegistryKey) {
      StoredValue value = ValueToWrite(entries.Stored(i), row.commandLine);
      registry.WriteRegBytes(source->root, KeyPath(source->writePath, row.enabled), row.name,
                             value.type, value.bytes);
      registryTargets->insert(TargetKey(source, row.enabled, row.name));
    } else if (source->kind == PlaceKind::WinIni) {
      const char* key = row.enabled ? source->iniKey : source->iniDisabledKey;
      profile.WriteProfileString(kWinIniSection, key, row.commandLine.c_str());
      iniTargets->insert(key);
    }
  }
}

void RemoveUntargetedValues(Module1& registry, const std::unordered_set<std::string>& targets) {
  const ManagedKey* keys = ManagedKeysInCommitOrder();
  for (int k = 0; k < kManagedKeyCount; ++k) {
    const StartupSource* source = keys[k].source;
    const std::string path = KeyPath(source->emptyPath, keys[k].enabled);
    RegKey key = 0;
    if (registry.OpenRegKey(source->root, path, kKeyQueryValue, &key) != kOk) continue;
    RegValueEntry entry;
    for (std::uint32_t index = 0; registry.EnumRegValue(key, index, &entry) == kOk;) {
      bool managed = IsListedValueType(entry.type, entry.size);
      bool wanted = targets.count(TargetKey(source, keys[k].enabled, entry.name)) != 0;
      // A deleted value moves the next one to this index; a value that cannot
      // be deleted is stepped past.
      if (managed && !wanted && registry.DeleteRegValue(source->root, path, entry.name) == kOk)
        continue;
      ++index;
    }
    registry.CloseRegKey(key);
  }
}

void RemoveUntargetedIniKeys(ProfileApi& profile, const std::unordered_set<std::string>& targets) {
  for (const char* key : {"load", "noload", "run", "norun"})
    if (!targets.count(key)) profile.WriteProfileString(kWinIniSection, key, nullptr);
}

CommitFailure TidyStartupFolder(Module1& registry, FileSystemApi& files, const EntryList& entries) {
  const std::string folder = ReadStartupFolder(registry);
  if (folder.empty()) return {};  // never touch the root of the current drive
  // The last row of a name decides, as the rows are walked in order.
  std::unordered_map<std::string, int> rowOfName;
  for (int i = 0; i < entries.Count(); ++i) {
    StartupEntry row = entries.Row(i);
    if (row.tag == "startup") rowOfName[row.name] = i;
  }
  for (const FileEntry& file : ListStartupFiles(files, folder)) {
    const std::string path = folder + "\\" + file.name;
    auto row = rowOfName.find(StripExtension(file.name));
    if (row != rowOfName.end()) {
      bool enabled = entries.Row(row->second).enabled;
      Status status = files.SetAttributes(path, enabled ? 0 : kAttrHidden);
      if (status != kOk) return {true, path, false, status};
      continue;
    }
    Status status = files.SetAttributes(path, 0);
    if (status == kOk) status = files.DeleteFile(path);
    if (status != kOk) return {true, path, true, status};
  }
  return {};
}

}  // namespace

StoredValue ValueToWrite(const StoredValue& stored, const std::string& text) {
  switch (stored.type) {
    case kRegSz:
    case kRegExpandSz:
      if (TextOfStringBytes(stored.bytes) == text) return stored;
      return {stored.type, text + '\0'};
    case kRegDword:
    case kRegBinary: {
      std::optional<std::int32_t> value = ParseDecimalInt32(text);
      if (!value) break;
      if (*value == IntegerOfBytes(stored.bytes)) return stored;
      if (stored.type == kRegDword) return {kRegDword, LittleEndian(*value, 4)};
      if (FitsInBytes(*value, stored.bytes.size()))
        return {kRegBinary, LittleEndian(*value, stored.bytes.size())};
      break;
    }
    default: break;
  }
  return {HasEnvironmentReference(text) ? kRegExpandSz : kRegSz, text + '\0'};
}

CommitFailure CommitStartupEntries(Module1& registry, Platform& platform,
                                   const EntryList& entries) {
  std::unordered_set<std::string> registryTargets, iniTargets;
  WriteRows(registry, platform.profile, entries, &registryTargets, &iniTargets);
  RemoveUntargetedValues(registry, registryTargets);
  RemoveUntargetedIniKeys(platform.profile, iniTargets);
  return TidyStartupFolder(registry, platform.files, entries);
}

}  // namespace qel
