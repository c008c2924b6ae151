// Finding programs in the in-memory Windows: an environment, the folders a
// bare name is searched in, the fixed drives, and shortcuts with their
// targets. File checks go through the in-memory files; these calls change
// nothing and are not counted.
#pragma once

#include <map>
#include <set>
#include <string>
#include <utility>

#include "platform/files.h"
#include "platform/programs.h"

namespace qel::mem {

class MemoryPrograms : public ProgramApi {
 public:
  explicit MemoryPrograms(FileSystemApi& files) : files_(files) {}

  std::string ExpandEnvironment(const std::string& text) override {
    std::string out = text;
    for (const auto& [name, value] : environment)
      for (std::size_t at; (at = Upper(out).find(name)) != std::string::npos;)
        out.replace(at, name.size(), value);
    return out;
  }
  bool SearchPath(const std::string& name, std::string* found) override {
    modesSeen.insert(errorMode);
    for (const char* folder : {"C:\\WINDOWS\\SYSTEM\\", "C:\\WINDOWS\\"})
      if (files_.Exists(folder + name)) return *found = folder + name, true;
    return false;
  }
  bool IsFixedDrive(const std::string& root) override {
    return fixedDrives.find(Upper(root)) != std::string::npos;
  }
  std::uint32_t SetErrorMode(std::uint32_t m) override { return std::swap(m, errorMode), m; }
  bool ShortcutTarget(const std::string& path, std::string* target) override {
    auto link = shortcuts.find(Upper(path));
    return link != shortcuts.end() && files_.Exists(path) && (*target = link->second, true);
  }

  // Test-side controls; names and paths in upper case.
  std::map<std::string, std::string> environment = {{"%SYSTEMROOT%", "C:\\WINDOWS"},
                                                    {"%PROGRAMFILES%", "C:\\Program Files"}};
  std::string fixedDrives = "C:\\";              // other letters: removable, network or absent
  std::map<std::string, std::string> shortcuts;  // a readable .lnk file and its target
  std::uint32_t errorMode = 0;
  std::set<std::uint32_t> modesSeen;  // the error mode at each search

  static std::string Upper(std::string text) {
    for (char& c : text) c = c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
    return text;
  }

 private:
  FileSystemApi& files_;
};

}  // namespace qel::mem
