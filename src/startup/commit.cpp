#include "startup/commit.h"

#include <set>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "startup/catalogue.h"
#include "startup/scanner.h"
#include "startup/task_manager_switch.h"

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
    for (const ManagedKey& key : AllManagedKeys()) ReadKey({key.source, key.enabled, {}});
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

  // The view a place lives in; only places of a view the machine has get here.
  std::uint32_t ViewOf(const Place& place) const {
    std::uint32_t view = 0;
    ViewOfSource(*place.source, registry_.api(), &view);
    return view;
  }

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
                                       value.type, value.bytes, ViewOf(place));
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
      Status deleted =
          registry_.DeleteRegValue(place.source->root, KeyPath(place.source->emptyPath, place.enabled),
                                   place.name, ViewOf(place));
      if (deleted != kOk) undone->push_back(Undone(place, place.name, Why::DeleteRefused, deleted));
    }
  }

 private:
  void ReadKey(Place key) {
    std::uint32_t view = 0;
    if (!ViewOfSource(*key.source, registry_.api(), &view) ||
        SharedWithOwnView(registry_.api(), *key.source, key.enabled))
      return;
    RegKey handle = 0;
    if (registry_.OpenRegKey(key.source->root, key.KeyPathForWrite(), kKeyQueryValue | view,
                             &handle) != kOk)
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
// brought back are undone, as are rows of a place this machine lacks.
std::vector<Write> PlanWrites(RegistryApi& registry, const EntryList& entries,
                              std::vector<UndoneEntry>* undone) {
  std::vector<Write> writes;
  std::unordered_map<std::string, std::size_t> byPlace;
  for (int i = 0; i < entries.Count(); ++i) {
    StartupEntry row = entries.Row(i);
    const StartupSource* source = FindSource(row.tag);
    if (!source) continue;  // unknown tags go nowhere
    std::uint32_t view = 0;
    if (!ViewOfSource(*source, registry, &view)) {
      undone->push_back(Undone({source, row.enabled, {}}, row.name, Why::NoSuchPlace, kOk));
      continue;
    }
    if (entries.Stored(i).lock == StoredValue::Lock::Restored)
      undone->push_back(Undone({source, row.enabled, {}}, row.name, Why::UnicodeName, kOk));
    if (source->kind == PlaceKind::StartupFolder ||
        entries.Stored(i).lock != StoredValue::Lock::None)
      continue;
    // An entry Task Manager disabled stays in its key, checked or not.
    const bool inEnabledPlace = row.enabled || entries.Stored(i).taskManagerOff;
    Write write{{source, inEnabledPlace, row.name}, {}, row.commandLine};
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

// Clears Task Manager's flag of the checked registry rows it had disabled;
// a file's flag is cleared with its attributes.
void EnableCheckedInTaskManager(Module1& registry, const EntryList& entries,
                                std::vector<UndoneEntry>* undone) {
  for (int i = 0; i < entries.Count(); ++i) {
    StartupEntry row = entries.Row(i);
    const StartupSource* source = FindSource(row.tag);
    if (!row.enabled || !entries.Stored(i).taskManagerOff || !source ||
        source->kind != PlaceKind::RegistryKey)
      continue;
    if (Status status = EnableInTaskManager(registry, *source, row.name))
      undone->push_back(Undone({source, true, {}}, row.name, Why::FlagRefused, status));
  }
}

// A Startup-folder file the scan listed and what its last row asks.
struct FileAction {
  const StartupSource* source;
  std::string folder;
  FileEntry file;
  bool remove;     // no row is left for it
  bool enabled;    // else: shown, or hidden
  bool clearFlag;  // checked after Task Manager had disabled it
};

// Only the files the scan listed; any other file, one the user never saw, is
// left as it is, and so is one Task Manager disabled that stays unchecked. A
// snapshot's rows of a folder this machine lacks are reported.
void PlanStartupFolder(Module1& registry, FileSystemApi& files, const StartupSource& source,
                       const EntryList& entries, std::vector<FileAction>* actions,
                       std::vector<UndoneEntry>* undone) {
  // The last row of a name decides, as the rows are walked in order.
  std::unordered_map<std::string, int> rowOfName;
  for (int i = 0; i < entries.Count(); ++i)
    if (entries.Row(i).tag == source.tag) rowOfName[entries.Row(i).name] = i;
  const std::string folder = ReadStartupFolder(registry, source);
  if (folder.empty() || !files.Exists(folder)) {  // never the root of the current drive
    for (const auto& [name, i] : rowOfName)
      undone->push_back({name, &source, entries.Row(i).enabled, {}, Why::NoSuchPlace, kOk});
    return;
  }
  for (const FileEntry& file : ListStartupFiles(files, folder)) {
    if (!entries.WasScannedFile(folder + "\\" + file.name)) continue;
    auto row = rowOfName.find(StripExtension(file.name));
    if (row == rowOfName.end()) {
      actions->push_back({&source, folder, file, true, false, false});
      continue;
    }
    const bool enabled = entries.Row(row->second).enabled;
    const bool taskManagerOff = entries.Stored(row->second).taskManagerOff;
    if (taskManagerOff && !enabled) continue;  // Windows does not start it: left as it is
    actions->push_back({&source, folder, file, false, enabled, taskManagerOff});
  }
}

void TidyStartupFolder(Module1& registry, FileSystemApi& files,
                       const std::vector<FileAction>& actions, std::vector<UndoneEntry>* undone) {
  for (const FileAction& action : actions) {
    const std::string path = action.folder + "\\" + action.file.name;
    const std::string name = StripExtension(action.file.name);
    if (!action.remove) {
      const bool enabled = action.enabled;
      Status status = files.SetAttributes(path, enabled ? 0 : kAttrHidden);
      if (status == kOk && action.clearFlag) {
        if (Status flag = EnableInTaskManager(registry, *action.source, action.file.name))
          undone->push_back({name, action.source, true, path, Why::FlagRefused, flag});
      }
      if (status != kOk)
        undone->push_back({name, action.source, enabled, path, Why::FileRefused, status});
      continue;
    }
    Status status = files.SetAttributes(path, 0);
    if (status == kOk) status = files.DeleteFile(path);
    if (status != kOk)
      undone->push_back({name, action.source, true, path, Why::FileDeleteRefused, status});
  }
}

PlannedChanges DescribeChanges(Module1& registry, const Machine& machine, const EntryList& entries,
                               const std::vector<Write>& writes,
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
                                now->value.type, now->value.bytes, machine.ViewOf(place)});
  }
  // Task Manager's flags the commit clears.
  for (int i = 0; i < entries.Count(); ++i) {
    const StartupEntry row = entries.Row(i);
    const StartupSource* source = FindSource(row.tag);
    if (!row.enabled || !entries.Stored(i).taskManagerOff || !source) continue;
    std::string name = row.name;
    for (const FileAction& action : actions)
      if (action.clearFlag && action.source == source && StripExtension(action.file.name) == name)
        name = action.file.name;
    ApprovalPlace place;
    RegValueInfo flag;
    if (ApprovalPlaceOf(*source, registry.api(), &place) &&
        registry.ReadRegBytes(place.root, place.key, name, &flag, place.view) == kOk)
      changes.values.push_back({place.root, place.key, name, flag.type, flag.bytes, place.view});
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
  std::vector<Write> writes = PlanWrites(registry.api(), entries, &undone);
  std::vector<FileAction> actions;
  for (int i = 0; i < kSourceCount; ++i)
    if (StartupSources()[i].kind == PlaceKind::StartupFolder)
      PlanStartupFolder(registry, platform.files, StartupSources()[i], entries, &actions, &undone);
  if (!beforeWriting(DescribeChanges(registry, machine, entries, writes, actions))) {
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
  EnableCheckedInTaskManager(registry, entries, &undone);
  TidyStartupFolder(registry, platform.files, actions, &undone);
  return undone;
}

}  // namespace qel
