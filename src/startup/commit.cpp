#include "startup/commit.h"

#include <set>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "startup/catalogue.h"
#include "startup/scanner.h"

namespace qel {
namespace {

using Why = UndoneEntry::Why;
// What Put reports for a Win.ini write, whose call gives no status.
constexpr Status kProfileRefused = 0xFFFFFFFFu;

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
  Why why = Why::WriteRefused;  // when Failed
  Status status = kOk;

  void Fail(Why reason, Status code = kOk) {
    state = State::Failed;
    why = reason;
    status = code == kProfileRefused ? kOk : code;
  }
};

UndoneEntry Undone(const Place& place, const std::string& name, Why why, Status status) {
  return {name, place.source, place.enabled, {}, why, status == kProfileRefused ? kOk : status};
}

bool StillWanted(const std::unordered_map<std::string, int>& wanted, const std::string& text) {
  auto found = wanted.find(text);
  return found != wanted.end() && found->second > 0;
}

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
        if (ReadWinIniKey(profile_, place.IniKey(), &text)) Record(place, {true, {}, text});
      }
    }
  }

  // Every place read or written, in that order.
  const std::vector<Place>& places() const { return places_; }

  const Content* At(const Place& place) const {
    auto found = contents_.find(place.Id());
    return found == contents_.end() ? nullptr : &found->second;
  }

  Status Put(const Place& place, const StoredValue& value, const std::string& text) {
    Status status;
    if (place.IsIni()) {
      status = profile_.WriteProfileString(kWinIniSection, place.IniKey(), text.c_str())
                   ? kOk
                   : kProfileRefused;
    } else {
      status = registry_.WriteRegBytes(place.source->root, place.KeyPathForWrite(), place.name,
                                       value.type, value.bytes);
    }
    if (status == kOk) Record(place, {true, {value.type, value.bytes}, text});
    return status;
  }

  // Removes what the scan would list and no row targets, keeping any text a
  // failed write still wants. Works from what was read and written: no key
  // is read a second time.
  void RemoveUntargeted(const std::unordered_set<std::string>& targets,
                        const std::unordered_map<std::string, int>& wanted,
                        std::vector<UndoneEntry>* undone) {
    for (const Place& place : places_) {
      const std::string id = place.Id();
      const Content& content = contents_.at(id);
      if (!content.listed || targets.count(id) || StillWanted(wanted, content.text)) continue;
      if (place.IsIni()) {
        if (!profile_.WriteProfileString(kWinIniSection, place.IniKey(), nullptr))
          undone->push_back(Undone(place, content.text, Why::DeleteRefused, kOk));
        continue;
      }
      Status deleted = registry_.DeleteRegValue(
          place.source->root, KeyPath(place.source->emptyPath, place.enabled), place.name);
      if (deleted != kOk) undone->push_back(Undone(place, place.name, Why::DeleteRefused, deleted));
    }
  }

 private:
  void ReadKey(Place key) {
    RegKey handle = 0;
    if (registry_.OpenRegKey(key.source->root, key.KeyPathForWrite(), kKeyQueryValue, &handle) !=
        kOk)
      return;
    const std::set<std::string> unrepresentable = registry_.UnrepresentableNames(handle);
    RegValueEntry entry;
    for (std::uint32_t index = 0;; ++index) {
      Status status = registry_.EnumRegValue(handle, index, &entry, true);
      if (status == kMoreData) continue;  // a value that keeps growing: never ours to write over
      if (status != kOk) break;
      if (unrepresentable.count(entry.name)) continue;  // no write can reach it
      key.name = entry.name;
      Record(key, {IsListedValueType(entry.type, entry.size), {entry.type, entry.bytes},
                   ValueOfBytes(entry.type, entry.bytes).TextForm()});
    }
    registry_.CloseRegKey(handle);
  }

  void Record(const Place& place, Content content) {
    auto [at, added] = contents_.try_emplace(place.Id());
    if (added) places_.push_back(place);
    at->second = std::move(content);
  }

  Module1& registry_;
  ProfileApi& profile_;
  std::unordered_map<std::string, Content> contents_;
  std::vector<Place> places_;  // those in contents_, in the order first read or written
};

bool Holds(const Content* content, const Write& write) {
  if (!content || !content->listed) return false;
  return write.place.IsIni()
             ? content->text == write.text
             : content->value.type == write.value.type && content->value.bytes == write.value.bytes;
}

// The writes the rows ask for, one per place, the last row's. Rows whose
// names the code page cannot hold are never written; those a snapshot
// brought back are undone.
std::vector<Write> PlanWrites(const EntryList& entries, std::vector<UndoneEntry>* undone) {
  std::vector<Write> writes;
  std::unordered_map<std::string, std::size_t> byPlace;
  for (int i = 0; i < entries.Count(); ++i) {
    StartupEntry row = entries.Row(i);
    const StartupSource* source = FindSource(row.tag);
    if (!source) continue;  // unknown tags go nowhere
    if (entries.Stored(i).lock == StoredValue::Lock::Restored)
      undone->push_back(Undone({source, row.enabled, {}}, row.name, Why::UnicodeName, kOk));
    if (source->kind == PlaceKind::StartupFolder ||
        entries.Stored(i).lock != StoredValue::Lock::None)
      continue;
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
        write.Fail(Why::HeldByUnlisted);
      if (write.state != Write::State::Done) ++wanted_[write.text];
    }
    for (bool progress = true; progress;) {
      progress = false;
      for (Write& write : writes_)
        if (write.state == Write::State::Pending && !Overwrites(write)) progress |= Apply(write);
      if (progress) continue;
      for (Write& write : writes_) {
        if (write.state != Write::State::Pending) continue;
        // Two rows trade places: break the cycle, but only with a spare copy.
        if (Status status = SetAside(write.place))
          write.Fail(Why::SpareCopyFailed, status);
        else
          Apply(write);
        progress = true;
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
    Status status = machine_.Put(write.place, write.value, write.text);
    if (status != kOk) {
      write.Fail(Why::WriteRefused, status);
      return true;
    }
    write.state = Write::State::Done;
    --wanted_[write.text];
    return true;
  }

  // Copies what place holds to a spare name in a disabled key, where the
  // next scan lists it unchecked if the commit is cut short. The tidy-up
  // after the writes removes it, as no row targets it.
  Status SetAside(const Place& place) {
    const Content* now = machine_.At(place);
    if (!now || !now->listed) return kOk;
    const StartupSource* reg2 = FindSource("reg2");
    Place spare = place.IsIni() ? Place{reg2, false, std::string("win.ini ") + place.IniKey()}
                                : Place{place.source, false, place.name};
    const std::string base = spare.name + " (backup)";
    spare.name = base;
    for (int n = 2; machine_.At(spare) || targets_.count(spare.Id()); ++n)
      spare.name = base + " " + std::to_string(n);
    StoredValue value = place.IsIni() ? StoredValue{kRegSz, now->text + '\0'} : now->value;
    return machine_.Put(spare, value, now->text);
  }

  Machine& machine_;
  std::vector<Write>& writes_;
  std::unordered_set<std::string> targets_;
  std::unordered_map<std::string, int> wanted_;
};

// A Startup-folder file the scan listed and what its last row asks.
struct FileAction {
  std::string folder;
  FileEntry file;
  bool remove;   // no row is left for it
  bool enabled;  // else: shown, or hidden
};

// Only the files the scan listed; any other file, one the user never saw, is
// left as it is.
std::vector<FileAction> PlanStartupFolder(Module1& registry, FileSystemApi& files,
                                          const EntryList& entries) {
  std::vector<FileAction> actions;
  const std::string folder = ReadStartupFolder(registry);
  if (folder.empty()) return actions;  // never touch the root of the current drive
  // The last row of a name decides, as the rows are walked in order.
  std::unordered_map<std::string, bool> enabledOfName;
  for (int i = 0; i < entries.Count(); ++i) {
    StartupEntry row = entries.Row(i);
    if (row.tag == "startup") enabledOfName[row.name] = row.enabled;
  }
  for (const FileEntry& file : ListStartupFiles(files, folder)) {
    if (!entries.WasScannedFile(file.name)) continue;
    auto row = enabledOfName.find(StripExtension(file.name));
    actions.push_back({folder, file, row == enabledOfName.end(), row != enabledOfName.end() && row->second});
  }
  return actions;
}

void TidyStartupFolder(FileSystemApi& files, const std::vector<FileAction>& actions,
                       std::vector<UndoneEntry>* undone) {
  const StartupSource* source = FindSource("startup");
  for (const FileAction& action : actions) {
    const std::string path = action.folder + "\\" + action.file.name;
    const std::string name = StripExtension(action.file.name);
    if (!action.remove) {
      const bool enabled = action.enabled;
      Status status = files.SetAttributes(path, enabled ? 0 : kAttrHidden);
      if (status != kOk) undone->push_back({name, source, enabled, path, Why::FileRefused, status});
      continue;
    }
    Status status = files.SetAttributes(path, 0);
    if (status == kOk) status = files.DeleteFile(path);
    if (status != kOk)
      undone->push_back({name, source, true, path, Why::FileDeleteRefused, status});
  }
}

// Every listed value and Win.ini key the writes overwrite or the tidy-up may
// remove (a move is both), and every file deleted or given other attributes,
// as they are before the commit.
PlannedChanges DescribeChanges(const Machine& machine, const std::vector<Write>& writes,
                               const std::vector<FileAction>& actions) {
  std::unordered_map<std::string, const Write*> writeAt;
  for (const Write& write : writes) writeAt[write.place.Id()] = &write;
  PlannedChanges changes;
  for (const Place& place : machine.places()) {
    const Content* now = machine.At(place);
    auto write = writeAt.find(place.Id());
    if (!now->listed || (write != writeAt.end() && Holds(now, *write->second))) continue;
    if (place.IsIni())
      changes.iniKeys.push_back({place.IniKey(), now->text});
    else
      changes.values.push_back({place.source->root, place.KeyPathForWrite(), place.name,
                                now->value.type, now->value.bytes});
  }
  constexpr std::uint32_t kSet = kAttrReadOnly | kAttrHidden | kAttrSystem;
  for (const FileAction& action : actions) {
    const std::uint32_t now = action.file.attributes & kSet;
    if (action.remove || now != (action.enabled ? 0 : kAttrHidden))
      changes.files.push_back({action.folder, action.file.name, action.file.attributes, action.remove});
  }
  return changes;
}

}  // namespace

std::vector<UndoneEntry> CommitStartupEntries(Module1& registry, Platform& platform,
                                              const EntryList& entries,
                                              const BeforeWriting& beforeWriting) {
  std::vector<UndoneEntry> undone;
  registry.HoldKeys();
  Machine machine(registry, platform.profile);
  machine.ReadAll();
  std::vector<Write> writes = PlanWrites(entries, &undone);
  const std::vector<FileAction> actions = PlanStartupFolder(registry, platform.files, entries);
  if (beforeWriting && !beforeWriting(DescribeChanges(machine, writes, actions))) {
    registry.ReleaseKeys();
    return {};
  }
  Writer writer(machine, writes);
  writer.Run();
  for (const Write& write : writes)
    if (write.state == Write::State::Failed)
      undone.push_back(Undone(write.place, write.place.name, write.why, write.status));
  machine.RemoveUntargeted(writer.Targets(), writer.Wanted(), &undone);
  registry.ReleaseKeys();
  TidyStartupFolder(platform.files, actions, &undone);
  return undone;
}

}  // namespace qel
