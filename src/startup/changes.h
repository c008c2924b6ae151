// What a confirm is about to change, as it is before the change: what the
// backup keeps so that the user can undo it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace qel {

// A registry value the confirm deletes or overwrites, with its type and bytes.
struct ChangedValue {
  RegKey root;
  std::string path;  // below root
  std::string name;
  std::uint32_t type;
  std::string bytes;
  std::uint32_t view = 0;  // the open flag of the registry view, 0 for the program's own
  // In the 32-bit view of a 64-bit Windows, which the (64-bit) registry editor
  // reaches under SOFTWARE\Wow6432Node.
  bool wow6432Node = false;
};

// A key of section [windows] of Win.ini, with its text.
struct ChangedIniKey {
  std::string key;
  std::string text;
};

// A Startup-folder file the confirm deletes or gives other attributes.
struct ChangedFile {
  std::string folder;
  std::string name;
  std::uint32_t attributes;  // as it has them now
  bool deleted;
};

struct PlannedChanges {
  std::vector<ChangedValue> values;
  std::vector<ChangedIniKey> iniKeys;
  std::vector<ChangedFile> files;

  bool empty() const { return values.empty() && iniKeys.empty() && files.empty(); }
};

}  // namespace qel
