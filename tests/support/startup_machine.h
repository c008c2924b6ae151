// A memory machine laid out like a user's Windows: the Run-family keys, the
// Startup folder, Win.ini, with helpers to seed and inspect them in GBK.
#pragma once

#include <gtest/gtest.h>

#include "app/web_site.h"
#include "platform/memory/memory_platform.h"
#include "registry/module1.h"
#include "startup/catalogue.h"

namespace qel::test {

constexpr char kRun[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kRunTwin[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run-";
constexpr char kRunServicesTwin[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunServices-";
constexpr char kRunOnce[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr char kRunOnceEx[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnceEx";
// The 32-bit view's keys, as a 64-bit program's Windows keeps them.
constexpr char kRun32[] = "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kRunOnce32[] = "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr char kStartupFolder[] = "C:\\WINDOWS\\Start Menu\\Programs\\StartUp";
// The policy and browser keys the main window reads and writes.
constexpr char kSystemPolicies[] = "Software\\Microsoft\\Windows\\CurrentVersion\\policies\\System";
constexpr char kExplorerPolicies[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
constexpr char kControlPanel[] = "Software\\Policies\\Microsoft\\Internet Explorer\\Control Panel";
constexpr char kBrowserMain[] = "Software\\Microsoft\\Internet Explorer\\Main";
constexpr char kTypedUrls[] = "Software\\Microsoft\\Internet Explorer\\TypedUrls";

// UTF-8 test text in the code page the program works in (GBK).
inline std::string G(const std::string& utf8) {
  static mem::MemorySystem gbk;
  return gbk.ToAnsi(utf8);
}

class StartupMachine {
 public:
  StartupMachine() {
    registry.PutString(kHkeyCurrentUser, kShellFolders, "Startup", kStartupFolder);
    files.AddFolder(kStartupFolder);
    // Installed from the release zip: the page the first run opens lies beside the program.
    if (WebSiteIsShippedPage()) files.AddFile(WebSiteAddress(platform.system), "<html></html>");
  }

  mem::MemoryPlatform memory;
  mem::MemoryRegistry& registry = memory.registry;
  mem::MemoryProfile& profile = memory.profile;
  mem::MemoryFiles& files = memory.files;
  Platform& platform = memory.platform;

  std::string StartupPath(const std::string& name) const {
    return std::string(kStartupFolder) + "\\" + name;
  }
  void AddStartupFile(const std::string& name, std::uint32_t attributes = 0) {
    files.AddFile(StartupPath(name), "shortcut", attributes);
  }
  // Every managed value and Win.ini key, one a line: key|name|type|bytes, with the key's
  // last part only ("32:" before the other view's, kept under Wow6432Node by a 64-bit
  // program's machine) and bytes other than printable ASCII as <n>.
  std::string Places() const {
    std::string out, shown;
    for (const ManagedKey& key : AllManagedKeys()) {
      if (key.source->otherView && registry.otherView != kKeyWow64_32Key) continue;
      RegKey root = key.source->root;
      std::string path = KeyPath(key.source->writePath, key.enabled);
      const std::string shownKey = (key.source->otherView ? "32:" : "") + path.substr(path.rfind('\\') + 1);
      if (key.source->otherView) path.insert(path.find('\\'), "\\Wow6432Node");
      for (const std::string& name : registry.ValueNames(root, path)) {
        std::uint32_t type = 0;
        std::string bytes;
        registry.Get(root, path, name, &type, &bytes);
        out += shownKey + "|" + name + "|" + std::to_string(type) + "|" + bytes + "\n";
      }
    }
    for (const char* key : {"load", "noload", "run", "norun"}) {
      std::string text;
      if (profile.Get("windows", key, &text)) out += std::string("ini|") + key + "|" + text + "\n";
    }
    for (unsigned char c : out)
      shown += (c < ' ' && c != '\n') || c > '~' ? "<" + std::to_string(c) + ">" : std::string(1, c);
    return shown;
  }
};

// Checks a value's type and exact bytes, reporting the caller's line.
inline ::testing::AssertionResult HasValue(const mem::MemoryRegistry& registry, RegKey root,
                                           const std::string& key, const std::string& name,
                                           std::uint32_t type, const std::string& bytes) {
  std::uint32_t actualType = 0;
  std::string actual = "(none)";
  const bool found = registry.Get(root, key, name, &actualType, &actual);
  return ::testing::AssertionResult(found && actualType == type && actual == bytes)
         << key << " \"" << name << "\" is type " << actualType << " \"" << actual << "\"";
}
// A string value's bytes: the text and its NUL.
inline std::string Sz(const std::string& text) { return text + '\0'; }

}  // namespace qel::test
