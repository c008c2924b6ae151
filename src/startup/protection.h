// The two policy locks and the browser start page the main window shows, and
// the two shell restrictions every commit lifts.
#pragma once

#include <string>
#include <vector>

#include "registry/module1.h"
#include "startup/changes.h"

namespace qel {

struct ProtectionSettings {
  bool registryEditorLocked = false;
  bool homePageLocked = false;
  std::string startPage;
  bool writeStartPage = true;  // false: both roots keep what they hold
};

// The start page of the current user; empty when missing or unreadable.
// *unreadable: a value is there but cannot be read as text, so that the
// empty text must not be written over it.
std::string ReadStartPage(Module1& registry, bool* unreadable = nullptr);
// Reads both locks: a lock is on only when its value holds 1.
void ReadProtectionSwitches(Module1& registry, ProtectionSettings* settings);
// An empty start page becomes "about:blank".
std::string NormaliseStartPage(const std::string& text);
// Writes the locks and the start page (both roots) and removes NoRun and
// NoClose. Statuses are ignored: a machine-wide write may be refused.
void WriteProtectionSwitches(Module1& registry, const ProtectionSettings& settings);
// The values WriteProtectionSwitches will delete or overwrite with something
// else, as they are now.
void DescribeProtectionChanges(Module1& registry, const ProtectionSettings& settings,
                               std::vector<ChangedValue>* values);

}  // namespace qel
