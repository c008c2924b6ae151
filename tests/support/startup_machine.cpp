#include "support/startup_machine.h"

#include "app/web_site.h"
#include "startup/catalogue.h"

namespace qel::test {

StartupMachine::StartupMachine() {
  registry.PutString(kHkeyCurrentUser, kShellFolders, "Startup", kStartupFolder);
  files.AddFolder(kStartupFolder);
  // Installed from the release zip: the page the first run opens lies beside the program.
  if (WebSiteIsShippedPage()) files.AddFile(WebSiteAddress(platform.system), "<html></html>");
}

std::string StartupMachine::Dump() const {
  std::string out;
  const ManagedKey* keys = ManagedKeysInCommitOrder();
  for (int k = 0; k < kManagedKeyCount; ++k) {
    RegKey root = keys[k].source->root;
    std::string path = KeyPath(keys[k].source->writePath, keys[k].enabled);
    for (const std::string& name : registry.ValueNames(root, path)) {
      std::uint32_t type = 0;
      std::string bytes;
      registry.Get(root, path, name, &type, &bytes);
      out += path + "|" + name + "|" + std::to_string(type) + "|" + bytes + "\n";
    }
  }
  for (const char* key : {"load", "noload", "run", "norun"}) {
    std::string text;
    if (profile.Get("windows", key, &text)) out += std::string("ini|") + key + "|" + text + "\n";
  }
  return out;
}

::testing::AssertionResult HasValue(const mem::MemoryRegistry& registry, RegKey root,
                                    const std::string& key, const std::string& name,
                                    std::uint32_t type, const std::string& bytes) {
  std::uint32_t actualType = 0;
  std::string actual = "(none)";
  const bool found = registry.Get(root, key, name, &actualType, &actual);
  return ::testing::AssertionResult(found && actualType == type && actual == bytes)
         << key << " \"" << name << "\" is type " << actualType << " \"" << actual << "\"";
}

}  // namespace qel::test
