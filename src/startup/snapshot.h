// The startup snapshot: three text files in the system directory holding the
// names and marks, the command lines and the tags, one row a line.
#pragma once

#include <string>
#include <vector>

#include "platform/files.h"
#include "startup/entry_list.h"

namespace qel {

struct SnapshotFiles {
  std::string names;         // morvane1.txt
  std::string commandLines;  // morvane2.txt
  std::string tags;          // morvane3.txt
};

SnapshotFiles SnapshotPaths(const std::string& systemDirectory);

// The three files' bytes for rows. A command line or tag holding a line
// break cannot be stored, nor more rows than a restore takes back: then
// false, and *offending is the index of the row that cannot be.
bool FormatSnapshot(const std::vector<StartupEntry>& rows, SnapshotFiles* bytes, int* offending);

// Parses the three files' bytes. False when they do not make one consistent
// set of rows (line counts differ, a mark is neither a truth word nor a
// number, too many rows).
bool ParseSnapshot(const SnapshotFiles& bytes, std::vector<StartupEntry>* rows);

constexpr int kMaxSnapshotRows = 32767;

// Writes the three files together (WriteKeptFiles), so that names are never
// left beside another save's command lines; *failedPath names the file that
// failed.
Status WriteSnapshotFiles(FileSystemApi& files, const SnapshotFiles& paths,
                          const SnapshotFiles& bytes, std::string* failedPath);

}  // namespace qel
