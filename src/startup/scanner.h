// Finds every auto-start entry in the thirteen places and appends it to the
// entry list, in catalogue order.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "registry/module1.h"
#include "startup/catalogue.h"
#include "startup/entry_list.h"

namespace qel {

void ScanStartupEntries(Module1& registry, Platform& platform, EntryList& entries);

// A file name without its last extension: "a.b.lnk" gives "a.b".
std::string StripExtension(const std::string& fileName);

// A Startup folder's path, or the empty text when it cannot be read.
std::string ReadStartupFolder(Module1& registry, const StartupSource& source);

// Files of the Startup folder that the program manages: neither folders nor
// system files. Empty when the folder cannot be listed.
std::vector<FileEntry> ListStartupFiles(FileSystemApi& files, const std::string& folder);

// Names of the folder's entries that the ANSI code page cannot hold.
std::set<std::string> UnrepresentableFileNames(FileSystemApi& files, const std::string& folder);

// A Win.ini key's whole text; false when the key is missing.
bool ReadWinIniKey(ProfileApi& profile, const std::string& key, std::string* text);

}  // namespace qel
