#include "startup/commit.h"

#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "startup/catalogue.h"
#include "startup/scanner.h"

namespace qel {
namespace {

// One managed place: a value of a Run-family key, or a Win.ini key.
struct Place {
  const StartupSource* source = nullptr;
  bool enabled = true;
  std::string name;  // the value name; unused for Win.ini keys

  bool IsIni() const { return source->kind == PlaceKind::WinIni; }
  const char* IniKey() const { return enabled ? source->iniKey : source->iniDisabledKey; }
  std::string KeyPathForWrite() const { return KeyPath(source->writePath, enabled); }
  // Equal for places the registry or Win.ini treats as one.
  std::string Id() const {
    std::string id = source->tag;
    id += enabled ? '+' : '-';
    if (!IsIni()) id += FoldValueName(name);
    return id;
  }
};

// What a place holds: a value the scan lists, or something it leaves alone.
struct Content {
  bool listed = false;
  StoredValue value;  // registry places
  std::string text;   // as a row shows it
};

// A row's write, in list order; when rows share a place the last one wins.
struct Write {
  Place place;
  StoredValue value;
  std::string text;
  enum class State { Pending, Done, Failed } state = State::Pending;
};

// The commit's picture of the managed places, kept up to date as it writes.
class Machine {
 public:
  Machine(Module1& registry, ProfileApi& profile) : registry_(registry), profile_(profile) {}

  void ReadAll() {
    const ManagedKey* keys = ManagedKeysInCommitOrder();
    for (int k = 0; k < kManagedKeyCount; ++k) ReadKey({keys[k].source, keys[k].enabled, {}});
    for (int i = 0; i < kSourceCount; ++i) {
      const StartupSource& source = StartupSources()[i];
      if (source.kind != PlaceKind::WinIni) continue;
      for (bool enabled : {true, false}) {
        Place place{&source, enabled, {}};
        std::string text;
        if (ReadWinIniKey(profile_, place.IniKey(), &text))
          contents_[place.Id()] = {true, {}, text};
      }
    }
  }

  const Content* At(const Place& place) const {
    auto found = contents_.find(place.Id());
    return found == contents_.end() ? nullptr : &found->second;
  }

  bool Put(const Place& place, const StoredValue& value, const std::string& text) {
    bool written;
    if (place.IsIni()) {
      written = profile_.WriteProfileString(kWinIniSection, place.IniKey(), text.c_str());
    } else {
      written = registry_.WriteRegBytes(place.source->root, place.KeyPathForWrite(), place.name,
                                        value.type, value.bytes) == kOk;
    }
    if (written) contents_[place.Id()] = {true, value, text};
    return written;
  }

 private:
  void ReadKey(Place key) {
    RegKey handle = 0;
    if (registry_.OpenRegKey(key.source->root, key.KeyPathForWrite(), kKeyQueryValue, &handle) !=
        kOk)
      return;
    RegValueEntry entry;
    for (std::uint32_t index = 0;; ++index) {
      Status status = registry_.EnumRegValue(handle, index, &entry, true);
      if (status == kMoreData) continue;  // a value that keeps growing: never ours to write over
      if (status != kOk) break;
      key.name = entry.name;
      Content& content = contents_[key.Id()];
      content.listed = IsListedValueType(entry.type, entry.size);
      content.value = {entry.type, entry.bytes};
      content.text = ValueOfBytes(entry.type, entry.bytes).TextForm();
    }
    registry_.CloseRegKey(handle);
  }

  Module1& registry_;
  ProfileApi& profile_;
  std::unordered_map<std::string, Content> contents_;
};

bool Holds(const Content* content, const Write& write) {
  if (!content || !content->listed) return false;
  return write.place.IsIni()
             ? content->text == write.text
             : content->value.type == write.value.type && content->value.bytes == write.value.bytes;
}

// The writes the rows ask for, one per place, the last row's.
std::vector<Write> PlanWrites(const EntryList& entries) {
  std::vector<Write> writes;
  std::unordered_map<std::string, std::size_t> byPlace;
  for (int i = 0; i < entries.Count(); ++i) {
    StartupEntry row = entries.Row(i);
    const StartupSource* source = FindSource(row.tag);
    if (!source || source->kind == PlaceKind::StartupFolder) continue;  // unknown tags go nowhere
    Write write{{source, row.enabled, row.name}, {}, row.commandLine};
    if (!write.place.IsIni()) write.value = ValueToWrite(entries.Stored(i), row.commandLine);
    auto [at, added] = byPlace.emplace(write.place.Id(), writes.size());
    if (added)
      writes.push_back(std::move(write));
    else
      writes[at->second] = std::move(write);
  }
  return writes;
}

// Writes every row to its place without ever overwriting the only copy of
// another row's text: a row that moves out of a place is written before one
// that moves in, and when two rows trade places one text is first copied to
// a disabled twin under a spare name.
class Writer {
 public:
  Writer(Machine& machine, std::vector<Write>& writes) : machine_(machine), writes_(writes) {
    for (const Write& write : writes_) targets_.insert(write.place.Id());
  }

  // The places some row is written to.
  const std::unordered_set<std::string>& Targets() const { return targets_; }

  // Texts still wanted somewhere they are not: after Run, those of writes
  // that failed, whose old copies must stay.
  const std::unordered_map<std::string, int>& Wanted() const { return wanted_; }

  void Run() {
    for (Write& write : writes_) {
      const Content* now = machine_.At(write.place);
      if (Holds(now, write)) write.state = Write::State::Done;
      // A value the program cannot show stays as it is; the row stays put.
      else if (now && !now->listed)
        write.state = Write::State::Failed;
      if (write.state != Write::State::Done) ++wanted_[write.text];
    }
    for (bool progress = true; progress;) {
      progress = false;
      for (Write& write : writes_)
        if (write.state == Write::State::Pending && !Overwrites(write)) progress |= Apply(write);
      if (progress) continue;
      for (Write& write : writes_) {
        if (write.state != Write::State::Pending) continue;
        SetAside(write.place);  // two rows trade places: break the cycle
        progress = Apply(write);
        break;
      }
    }
  }

 private:
  // Whether writing here would destroy the last copy of a wanted text.
  bool Overwrites(const Write& write) const {
    const Content* now = machine_.At(write.place);
    if (!now || !now->listed || now->text == write.text) return false;
    auto wanted = wanted_.find(now->text);
    return wanted != wanted_.end() && wanted->second > 0;
  }

  bool Apply(Write& write) {
    bool written = machine_.Put(write.place, write.value, write.text);
    write.state = written ? Write::State::Done : Write::State::Failed;
    if (written) --wanted_[write.text];
    return true;
  }

  // Copies what place holds to a spare name in a disabled key, where the
  // next scan lists it unchecked if the commit is cut short. The tidy-up
  // after the writes removes it, as no row targets it.
  void SetAside(const Place& place) {
    const Content* now = machine_.At(place);
    if (!now || !now->listed) return;
    const StartupSource* reg2 = FindSource("reg2");
    Place spare = place.IsIni() ? Place{reg2, false, std::string("win.ini ") + place.IniKey()}
                                : Place{place.source, false, place.name};
    const std::string base = spare.name + " (backup)";
    spare.name = base;
    for (int n = 2; machine_.At(spare) || targets_.count(spare.Id()); ++n)
      spare.name = base + " " + std::to_string(n);
    StoredValue value = place.IsIni() ? StoredValue{kRegSz, now->text + '\0'} : now->value;
    machine_.Put(spare, value, now->text);
  }

  Machine& machine_;
  std::vector<Write>& writes_;
  std::unordered_set<std::string> targets_;
  std::unordered_map<std::string, int> wanted_;
};

bool StillWanted(const std::unordered_map<std::string, int>& wanted, const std::string& text) {
  auto found = wanted.find(text);
  return found != wanted.end() && found->second > 0;
}

// Removes what the scan would list and no row targets, keeping any text a
// failed write still wants.
void RemoveUntargeted(Module1& registry, ProfileApi& profile,
                      const std::unordered_set<std::string>& targets,
                      const std::unordered_map<std::string, int>& wanted) {
  const ManagedKey* keys = ManagedKeysInCommitOrder();
  for (int k = 0; k < kManagedKeyCount; ++k) {
    Place place{keys[k].source, keys[k].enabled, {}};
    const std::string path = KeyPath(place.source->emptyPath, place.enabled);
    RegKey key = 0;
    if (registry.OpenRegKey(place.source->root, path, kKeyQueryValue, &key) != kOk) continue;
    RegValueEntry entry;
    for (std::uint32_t index = 0;;) {
      Status status = registry.EnumRegValue(key, index, &entry, true);
      if (status == kMoreData) {
        ++index;
        continue;
      }
      if (status != kOk) break;
      place.name = entry.name;
      bool remove = IsListedValueType(entry.type, entry.size) && !targets.count(place.Id()) &&
                    !StillWanted(wanted, ValueOfBytes(entry.type, entry.bytes).TextForm());
      // A deleted value moves the next one to this index; a value that cannot
      // be deleted is stepped past.
      if (remove && registry.DeleteRegValue(place.source->root, path, entry.name) == kOk) continue;
      ++index;
    }
    registry.CloseRegKey(key);
  }
  // load, noload, run, norun.
  for (int i = 0; i < kSourceCount; ++i) {
    if (StartupSources()[i].kind != PlaceKind::WinIni) continue;
    for (bool enabled : {true, false}) {
      Place place{&StartupSources()[i], enabled, {}};
      std::string text;
      if (targets.count(place.Id()) ||
          (ReadWinIniKey(profile, place.IniKey(), &text) && StillWanted(wanted, text)))
        continue;
      profile.WriteProfileString(kWinIniSection, place.IniKey(), nullptr);
    }
  }
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

CommitFailure CommitStartupEntries(Module1& registry, Platform& platform,
                                   const EntryList& entries) {
  Machine machine(registry, platform.profile);
  machine.ReadAll();
  std::vector<Write> writes = PlanWrites(entries);
  Writer writer(machine, writes);
  writer.Run();
  RemoveUntargeted(registry, platform.profile, writer.Targets(), writer.Wanted());
  return TidyStartupFolder(registry, platform.files, entries);
}

}  // namespace qel
