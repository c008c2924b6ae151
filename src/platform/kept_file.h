// Files the user keeps (his lists, the backups): written so that a crash or a
// power cut leaves each one whole, with its old bytes or its new ones.
#pragma once

#include <string>
#include <vector>

#include "platform/files.h"

namespace qel {

struct KeptFile {
  std::string path;
  std::string bytes;
};

// Writes every file to a temporary one beside it, flushed, then renames each
// over its file, which keeps its hidden, system and read-only attributes.
// When a file cannot be written none is replaced; when one cannot be put in
// place those already replaced get their old bytes back (or go, if they were
// new), so that a set written together never mixes two writes. *failedPath
// names the file that failed.
Status WriteKeptFiles(FileSystemApi& files, const std::vector<KeptFile>& kept,
                      std::string* failedPath);

}  // namespace qel
