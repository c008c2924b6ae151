#include "startup/scanner.h"

#include <utility>
#include <vector>

#include "startup/catalogue.h"
#include "startup/task_manager_switch.h"

namespace qel {
namespace {

// Collects rows and the stored form of each, for one append at the end.
struct ScanResult {
  std::vector<StartupEntry> rows;
  std::vector<StoredValue> stored;
  std::vector<std::string> files;  // Startup-folder files the commit may act on
  TaskManagerSwitch taskManager;

  // An entry where Windows would start it, unless Task Manager disabled it.
  void Add(RegistryApi& registry, const StartupSource& source, const std::string& entryName,
           StartupEntry row, StoredValue value = {}) {
    if (row.enabled && taskManager.Disabled(registry, source, entryName))
      row.enabled = false, value.taskManagerOff = true;
    Add(std::move(row), std::move(value));
  }
  void Add(StartupEntry row, StoredValue value = {}) {
    rows.push_back(std::move(row));
    stored.push_back(std::move(value));
  }
};

void ScanKey(Module1& registry, const StartupSource& source, bool enabled, ScanResult* result) {
  std::uint32_t view = 0;
  if (!ViewOfSource(source, registry.api(), &view)) return;  // no such view here
  if (SharedWithOwnView(registry.api(), source, enabled)) return;  // listed as the own view's
  RegKey key = 0;
  if (registry.OpenRegKey(source.root, KeyPath(source.scanPath, enabled), kKeyQueryValue | view,
                          &key) != kOk)
    return;
  const std::set<std::string> unrepresentable = registry.UnrepresentableNames(key);
  RegValueEntry entry;
  // Name, type and data come in one call per value: a key of thousands of
  // values is listed without reopening it for each.
  for (std::uint32_t index = 0;; ++index) {
    Status status = registry.EnumRegValue(key, index, &entry, true);
    if (status == kMoreData) continue;  // one value that keeps growing hides no other
    if (status != kOk) break;
    if (!IsListedValueType(entry.type, entry.size)) continue;
    std::string text = ValueOfBytes(entry.type, entry.bytes).TextForm();
    StoredValue stored{entry.type, std::move(entry.bytes)};
    if (unrepresentable.count(entry.name))
      stored = {kRegNone, {}, StoredValue::Lock::Scanned, enabled};
    result->Add(registry.api(), source, entry.name,
                {entry.name, enabled, std::move(text), source.tag}, std::move(stored));
  }
  registry.CloseRegKey(key);
}

void ScanStartupFolder(Module1& registry, FileSystemApi& files, const StartupSource& source,
                       ScanResult* result) {
  const std::string folder = ReadStartupFolder(registry, source);
  if (folder.empty()) return;  // never the root of the current drive
  const std::set<std::string> unrepresentable = UnrepresentableFileNames(files, folder);
  for (const FileEntry& file : ListStartupFiles(files, folder)) {
    const std::string path = folder + "\\" + file.name;
    if (unrepresentable.count(file.name)) {
      // No path reaches it: listed as the listing saw it, never acted on.
      bool enabled = (file.attributes & kAttrHidden) == 0;
      result->Add({StripExtension(file.name), enabled, path, source.tag},
                  {kRegNone, {}, StoredValue::Lock::Scanned, enabled});
      continue;
    }
    std::uint32_t attributes = 0;
    if (files.GetAttributes(path, &attributes) != kOk) continue;  // gone since the listing
    result->Add(registry.api(), source, file.name,
                {StripExtension(file.name), (attributes & kAttrHidden) == 0, path, source.tag});
    result->files.push_back(path);
  }
}

void ScanWinIni(ProfileApi& profile, const StartupSource& source, bool enabled,
                ScanResult* result) {
  std::string text;
  if (!ReadWinIniKey(profile, enabled ? source.iniKey : source.iniDisabledKey, &text)) return;
  if (text.find_first_not_of(' ') == std::string::npos) return;
  result->Add({text, enabled, text, source.tag});
}

}  // namespace

std::string StripExtension(const std::string& fileName) {
  std::size_t dot = fileName.rfind('.');
  return dot == std::string::npos ? fileName : fileName.substr(0, dot);
}

std::string ReadStartupFolder(Module1& registry, const StartupSource& source) {
  RegValue folder;
  if (registry.ReadRegValue(source.root, source.scanPath, source.folderValue, &folder) != kOk)
    return {};
  return folder.kind() == RegValue::Kind::Text ? folder.TextForm() : std::string();
}

std::set<std::string> UnrepresentableFileNames(FileSystemApi& files, const std::string& folder) {
  std::vector<std::uint32_t> indices;
  std::set<std::string> names;
  if (files.UnrepresentableFiles(folder, &indices) != kOk || indices.empty()) return names;
  std::vector<FileEntry> entries;
  if (files.ListFolder(folder, &entries) != kOk) return names;
  for (std::uint32_t i : indices)
    if (i < entries.size()) names.insert(entries[i].name);
  return names;
}

std::vector<FileEntry> ListStartupFiles(FileSystemApi& files, const std::string& folder) {
  std::vector<FileEntry> entries;
  if (files.ListFolder(folder, &entries) != kOk) return {};
  std::vector<FileEntry> managed;
  for (FileEntry& entry : entries)
    if ((entry.attributes & (kAttrDirectory | kAttrSystem)) == 0)
      managed.push_back(std::move(entry));
  return managed;
}

namespace {

// The key's whole text, read with fallback; a cut text is read again with a
// larger buffer.
std::string ReadProfileWhole(ProfileApi& profile, const std::string& key, const char* fallback) {
  std::vector<char> buffer(256);
  for (;;) {
    std::uint32_t size = static_cast<std::uint32_t>(buffer.size());
    std::uint32_t length =
        profile.GetProfileString(kWinIniSection, key, fallback, buffer.data(), size);
    if (length + 2 < size) return std::string(buffer.data(), length);
    buffer.resize(buffer.size() * 4);
  }
}

}  // namespace

bool ReadWinIniKey(ProfileApi& profile, const std::string& key, std::string* text) {
  // Only a key that gives back each of two different fallbacks is missing:
  // any text at all, a marker's included, is content.
  static const char kMissing[] = "(error)";
  static const char kStillMissing[] = "(none)";
  *text = ReadProfileWhole(profile, key, kMissing);
  if (*text != kMissing) return true;
  return ReadProfileWhole(profile, key, kStillMissing) != kStillMissing;
}

void ScanStartupEntries(Module1& registry, Platform& platform, EntryList& entries) {
  ScanResult result;
  result.taskManager.Read(registry);
  const StartupSource* sources = StartupSources();
  for (int i = 0; i < kSourceCount; ++i) {
    if (sources[i].kind != PlaceKind::RegistryKey) continue;
    ScanKey(registry, sources[i], true, &result);
    ScanKey(registry, sources[i], false, &result);
  }
  for (int i = 0; i < kSourceCount; ++i)
    if (sources[i].kind == PlaceKind::StartupFolder)
      ScanStartupFolder(registry, platform.files, sources[i], &result);
  for (int i = 0; i < kSourceCount; ++i) {
    if (sources[i].kind != PlaceKind::WinIni) continue;
    ScanWinIni(platform.profile, sources[i], true, &result);
    ScanWinIni(platform.profile, sources[i], false, &result);
  }
  entries.AppendScanned(std::move(result.rows), std::move(result.stored));
  for (const std::string& file : result.files) entries.NoteScannedFile(file);
}

}  // namespace qel
