// Makes the machine match the entry list: every managed key and Win.ini key
// holds the rows that target it and nothing else of what the scan lists, and
// the Startup folder's files are hidden, shown or deleted by their rows.
#pragma once

#include <string>

#include "platform/platform.h"
#include "registry/module1.h"
#include "startup/entry_list.h"

namespace qel {

struct CommitFailure {
  bool failed = false;
  std::string path;  // the Startup-folder file that could not be changed
  bool deleting = false;
  Status status = kOk;
};

// Rows are written first and only then is what no row targets removed, so a
// commit cut short loses no entry. Stops at the first Startup-folder file
// that cannot be changed.
CommitFailure CommitStartupEntries(Module1& registry, Platform& platform, const EntryList& entries);

// The type and bytes a row's text is written with, given how its value was
// stored: the stored form when the text is unchanged, REG_EXPAND_SZ and
// integer types kept where the text allows, else REG_SZ (REG_EXPAND_SZ for a
// text holding a %NAME% reference).
StoredValue ValueToWrite(const StoredValue& stored, const std::string& text);

}  // namespace qel
