// Task Manager's own switch for startup entries (Windows 8 and later): a
// REG_BINARY value named as the entry under Explorer\StartupApproved, whose
// first byte is odd when the user disabled the entry there. Windows then does
// not start it, although it stays where it is.
#pragma once

#include <set>
#include <string>

#include "registry/module1.h"
#include "startup/catalogue.h"

namespace qel {

class TaskManagerSwitch {
 public:
  // Reads every flag Task Manager keeps, once.
  void Read(Module1& registry);
  // Whether Task Manager disabled the entry name (a value name, or a Startup
  // file's name) of source.
  bool Disabled(RegistryApi& registry, const StartupSource& source,
                const std::string& name) const;

 private:
  std::set<std::string> disabled_;  // place and folded name
};

// Sets the first byte of the entry's flag to 02, enabled, keeping the rest. A
// value that is not a well-formed flag is left as it is.
Status EnableInTaskManager(Module1& registry, const StartupSource& source,
                           const std::string& name);

}  // namespace qel
