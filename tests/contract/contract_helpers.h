// The platform contract tests: the same cases on the in-memory Windows
// natively and on the real one under Wine, so that the double behaves as the
// real calls do wherever the program relies on it.
#pragma once

#ifdef _WIN32
// clang-format off
#include <windows.h>
#include <shellapi.h>
#include "platform/win32/win32_platform.h"
// clang-format on
#else
#include "platform/memory/memory_platform.h"
#endif

#include <gtest/gtest.h>

namespace qel::test {

// The scratch keys every contract test confines itself to.
constexpr char kScratchKey[] = "Software\\QelmoraContract";
// Where the 32-bit view keeps it: the other view of the x86_64 build under Wine.
constexpr char kScratchKey32[] = "Software\\Wow6432Node\\QelmoraContract";

#ifdef _WIN32
// The real Windows, run under Wine: set up and cleaned up with direct calls, independently of
// the code under test.
struct ContractMachine {
  ContractMachine() {
    char temp[MAX_PATH];
    folder = std::string(temp, GetTempPathA(MAX_PATH, temp)) + "QelmoraContract";
    Clean();
    CreateDirectoryA(folder.c_str(), nullptr);
  }
  ~ContractMachine() { Clean(); }
  // The scratch keys, and the scratch folder with everything in it.
  void Clean() {
    RegDeleteTreeA(HKEY_CURRENT_USER, kScratchKey);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kScratchKey);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kScratchKey32);
    const std::string paths = folder + '\0';  // a list of one path, ended by two NULs
    SHFILEOPSTRUCTA remove = {nullptr, FO_DELETE, paths.c_str(), nullptr,
                              FOF_NO_UI, FALSE, nullptr, nullptr};
    SHFileOperationA(&remove);
  }
  win32::Win32Platform windows;
  Platform& api = windows.platform();
  std::string folder;  // empty, no trailing backslash
};
#else
struct ContractMachine {
  ContractMachine() {
    memory.files.AddFolder(folder);
    memory.registry.otherView = kKeyWow64_32Key;  // as the x86_64 build sees Windows
  }
  mem::MemoryPlatform memory;
  Platform& api = memory.platform;
  std::string folder = "C:\\TEMP\\QelmoraContract";
};
#endif

class ContractTest : public ::testing::Test {
 protected:
  // A path in the scratch folder.
  std::string At(const std::string& name) { return machine_.folder + "\\" + name; }

  ContractMachine machine_;
  Platform& api = machine_.api;
  RegistryApi& reg = api.registry;
  FileSystemApi& files = api.files;
};

}  // namespace qel::test
