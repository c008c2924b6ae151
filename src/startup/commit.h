// Makes the machine match the entry list: every managed key and Win.ini key
// holds the rows that target it and nothing else of what the scan lists, and
// the Startup folder's files are hidden, shown or deleted by their rows.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "registry/module1.h"
#include "startup/changes.h"
#include "startup/entry_list.h"

namespace qel {

struct StartupSource;

// An entry the commit could not bring where the list wants it; it stays as
// it was on the machine.
struct UndoneEntry {
  enum class Why {
    WriteRefused,     // the new place could not be written
    HeldByUnlisted,   // the new place holds a value of a type never listed
    UnicodeName,      // its name holds characters the code page cannot
    SpareCopyFailed,  // a swap's spare copy could not be written
    DeleteRefused,    // a value or Win.ini key no row wants could not go
    FileRefused,      // a Startup-folder file could not be hidden or shown
    FileDeleteRefused,
    NoSuchPlace,  // a snapshot's row of a place this machine lacks (a second registry view)
    FlagRefused,  // Task Manager's flag could not be cleared
  };
  std::string name;                       // the display name
  const StartupSource* source = nullptr;  // with enabled: the place
  bool enabled = true;
  std::string path;  // Startup-folder files: the file
  Why why = Why::WriteRefused;
  Status status = kOk;  // kOk when the call gives no code (Win.ini)
};

// Rows are written first and only then is what no row targets removed, so a
// commit cut short loses no entry. Whatever cannot be done is stepped past
// and returned, in commit order; Startup-folder files the scan did not list
// and names the code page cannot hold are never touched. beforeWriting runs
// once the commit knows what it will change and before it writes anything;
// false: it writes nothing and returns no entry.
using BeforeWriting = std::function<bool(const PlannedChanges&)>;
std::vector<UndoneEntry> CommitStartupEntries(Module1& registry, Platform& platform,
                                              const EntryList& entries,
                                              const BeforeWriting& beforeWriting);

// The type and bytes a row's text is written with, given how its value was
// stored: the stored form when the text is unchanged, REG_EXPAND_SZ and
// integer types kept where the text allows, else REG_SZ (REG_EXPAND_SZ for a
// text holding a %NAME% reference).
StoredValue ValueToWrite(const StoredValue& stored, const std::string& text);

}  // namespace qel
