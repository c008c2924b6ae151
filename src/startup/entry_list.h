// The working copy of every startup entry: row i of List1 (display name and
// check mark), List4 (command line) and List5 (source tag), plus, out of
// sight, how row i's value was stored, so the commit can keep its type.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/registry.h"
#include "ui/controls.h"

namespace qel {

// How a registry value looked when it was read: its type and exact bytes.
// type kRegNone: the row has no stored value behind it (new, restored, or
// not from the registry).
struct StoredValue {
  std::uint32_t type = kRegNone;
  std::string bytes;
  // The entry's true name holds characters the ANSI code page cannot: the
  // program can neither change it nor create an entry of its '?' name.
  // Scanned: listed from the machine; Restored: a snapshot row of such a
  // name that matches no scanned row.
  enum class Lock { None, Scanned, Restored } lock = Lock::None;
  bool lockedEnabled = false;  // the check mark such a row keeps
  // Task Manager disabled the entry where it stands (Windows 8 and later):
  // listed unchecked, it stays put; checked, Task Manager's flag is cleared.
  bool taskManagerOff = false;
};

struct StartupEntry {
  std::string name;
  bool enabled = false;
  std::string commandLine;
  std::string tag;
};

class EntryList {
 public:
  EntryList(ui::ListBox& names, ui::ListBox& commandLines, ui::ListBox& tags)
      : names_(names), commandLines_(commandLines), tags_(tags) {}

  int Count() const { return names_.ListCount(); }
  StartupEntry Row(int i) const;
  const StoredValue& Stored(int i) const;

  // Appends rows to the three lists together. A scanned row remembers how its
  // value was stored, so that a restored copy of it can keep that too.
  void AppendScanned(std::vector<StartupEntry> rows, std::vector<StoredValue> stored);
  // Replaces every row (a restore). Rows equal to a scanned row (same tag,
  // check mark, name and command line) take that row's stored value.
  void ReplaceAll(const std::vector<StartupEntry>& rows);
  void Remove(int i);

  // Startup-folder files (full paths) the scan listed and the commit may act on.
  void NoteScannedFile(const std::string& path) { scannedFiles_.insert(path); }
  bool WasScannedFile(const std::string& path) const { return scannedFiles_.count(path) != 0; }

 private:
  void Append(std::vector<StartupEntry> rows, std::vector<StoredValue> stored);
  static std::string ScanKey(const StartupEntry& row);

  ui::ListBox& names_;
  ui::ListBox& commandLines_;
  ui::ListBox& tags_;
  std::vector<StoredValue> stored_;
  std::unordered_map<std::string, StoredValue> scanned_;
  std::unordered_set<std::string> scannedFiles_;
};

}  // namespace qel
