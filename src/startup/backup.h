// The backup each confirm writes before it changes anything: a folder
// backup\YYYYMMDD-HHMMSS beside the program with registry.reg (REGEDIT4, for
// the registry editor to import), copies of the Startup files it deletes and
// startup.txt naming their folders and attributes.
#pragma once

#include <string>

#include "platform/platform.h"
#include "startup/changes.h"

namespace qel {

constexpr int kBackupsKept = 30;

// The key as the registry editor names it, "HKEY_LOCAL_MACHINE\SOFTWARE\...".
std::string RegistryKeyText(const ChangedValue& value);

// registry.reg: "REGEDIT4", then each key once with its values, then the
// Win.ini keys as comments (the registry editor cannot write Win.ini). CR LF.
std::string FormatRegistryBackup(const PlannedChanges& changes);

// Writes the backup of changes into a new folder below programFolder\backup;
// *folder names it (or the one that could not be made). Nothing to back up:
// no folder and kOk. A backup that cannot be written whole is removed.
Status WriteBackup(Platform& platform, const PlannedChanges& changes, std::string* folder);

// Removes all but the newest kBackupsKept folders of programFolder\backup
// whose names this program gives; anything else there is left alone.
void PruneBackups(FileSystemApi& files, const std::string& programFolder);

}  // namespace qel
