#include "startup/entry_list.h"

#include <utility>

namespace qel {

StartupEntry EntryList::Row(int i) const {
  return {names_.List(i), names_.Selected(i), commandLines_.List(i), tags_.List(i)};
}

const StoredValue& EntryList::Stored(int i) const {
  static const StoredValue none;
  return i >= 0 && i < static_cast<int>(stored_.size()) ? stored_[i] : none;
}

std::string EntryList::ScanKey(const StartupEntry& row) {
  std::string key = row.tag;
  key += row.enabled ? '+' : '-';  // the place: a key or its twin
  key += '\0';
  key += row.name;
  key += '\0';
  key += row.commandLine;
  return key;
}

void EntryList::Append(std::vector<StartupEntry> rows, std::vector<StoredValue> stored) {
  std::vector<std::string> names, commandLines, tags;
  std::vector<bool> checks;
  names.reserve(rows.size());
  commandLines.reserve(rows.size());
  tags.reserve(rows.size());
  checks.reserve(rows.size());
  for (StartupEntry& row : rows) {
    names.push_back(std::move(row.name));
    checks.push_back(row.enabled);
    commandLines.push_back(std::move(row.commandLine));
    tags.push_back(std::move(row.tag));
  }
  stored.resize(rows.size());
  stored_.insert(stored_.end(), std::make_move_iterator(stored.begin()),
                 std::make_move_iterator(stored.end()));
  names_.AddItems(std::move(names), std::move(checks));
  commandLines_.AddItems(std::move(commandLines), {});
  tags_.AddItems(std::move(tags), {});
}

void EntryList::AppendScanned(std::vector<StartupEntry> rows, std::vector<StoredValue> stored) {
  stored.resize(rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i)
    if (stored[i].type != kRegNone || stored[i].lock != StoredValue::Lock::None ||
        stored[i].taskManagerOff)
      scanned_.emplace(ScanKey(rows[i]), stored[i]);
  Append(std::move(rows), std::move(stored));
}

void EntryList::ReplaceAll(const std::vector<StartupEntry>& rows) {
  std::vector<StoredValue> stored(rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    auto found = scanned_.find(ScanKey(rows[i]));
    if (found != scanned_.end()) {
      stored[i] = found->second;
    } else if (rows[i].name.find('?') != std::string::npos && rows[i].tag != "load" &&
               rows[i].tag != "run") {
      // Most likely the '?' form of a name the code page cannot hold: writing
      // it would create a second entry beside the true one.
      stored[i].lock = StoredValue::Lock::Restored;
      stored[i].lockedEnabled = rows[i].enabled;
    }
  }
  names_.Clear();
  commandLines_.Clear();
  tags_.Clear();
  stored_.clear();
  Append(rows, std::move(stored));
}

void EntryList::Remove(int i) {
  if (i < 0 || i >= Count()) return;
  names_.RemoveItem(i);
  commandLines_.RemoveItem(i);
  tags_.RemoveItem(i);
  stored_.erase(stored_.begin() + i);
}

}  // namespace qel
