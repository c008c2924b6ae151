// What only the in-memory Windows offers: its fault switches, the power cut,
// the creation order of values, and the test-side controls.
#include "platform/memory/memory_platform.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/memory/ansi_names.h"

namespace qel::mem {
namespace {

constexpr char kKey[] = "Software\\Test";
constexpr Status kKeyDeleted = 1018;

std::string ReadString(RegistryApi& reg, RegKey root, const std::string& path,
                       const std::string& name) {
  RegKey key = 0;
  if (reg.OpenKey(root, path, kKeyQueryValue, &key) != kOk) return "<no key>";
  char buffer[256] = {};
  std::uint32_t size = sizeof(buffer);
  Status status = reg.QueryValue(key, name, nullptr, buffer, &size);
  reg.CloseKey(key);
  return status == kOk ? std::string(buffer) : "<" + std::to_string(status) + ">";
}

TEST(MemoryPowerCut, TheCallAfterTheBudgetThrowsBeforeDoingAnything) {
  MemoryPlatform machine;
  Platform& p = machine.platform();
  RegKey key = 0;
  ASSERT_EQ(kOk, p.registry.CreateKey(kHkeyCurrentUser, kKey, kKeyWrite, &key));
  const long before = machine.CallCount();

  machine.SetCallBudget(1);
  EXPECT_EQ(kOk, p.registry.SetValue(key, "first", kRegSz, "1", 2));
  EXPECT_THROW(p.registry.SetValue(key, "second", kRegSz, "2", 2), PowerCut);
  EXPECT_THROW(p.files.Exists("C:\\"), PowerCut) << "every later call too, reads included";
  EXPECT_THROW(p.system.ToAnsi("x"), PowerCut);
  EXPECT_THROW(p.profile.WriteProfileString("windows", "load", "x"), PowerCut);
  EXPECT_EQ(before + 1, machine.CallCount()) << "calls cut off do not count";

  // Test-side controls still work and show what the cut left behind.
  EXPECT_TRUE(machine.registry().HasValue(kHkeyCurrentUser, kKey, "first"));
  EXPECT_FALSE(machine.registry().HasValue(kHkeyCurrentUser, kKey, "second"));
  EXPECT_FALSE(machine.profile().Get("windows", "load", nullptr));
  EXPECT_TRUE(machine.files().Exists("C:\\WINDOWS\\SYSTEM"));

  machine.SetCallBudget(-1);
  EXPECT_EQ(kOk, p.registry.SetValue(key, "second", kRegSz, "2", 2));
}

TEST(MemoryPowerCut, ABudgetOfZeroStopsTheVeryFirstCall) {
  MemoryPlatform machine;
  machine.SetCallBudget(0);
  std::vector<FileEntry> entries;
  EXPECT_THROW(machine.platform().files.ListFolder("C:\\WINDOWS", &entries), PowerCut);
  EXPECT_EQ(0, machine.CallCount());
}

TEST(MemoryRegistryOrder, ValuesEnumerateInCreationOrderAndKeepTheirPlace) {
  MemoryRegistry reg;
  reg.PutString(kHkeyCurrentUser, kKey, "zeta", "1");
  reg.PutString(kHkeyCurrentUser, kKey, "alpha", "2");
  reg.PutString(kHkeyCurrentUser, kKey, "mid", "3");
  reg.PutString(kHkeyCurrentUser, kKey, "ZETA", "4");
  EXPECT_EQ((std::vector<std::string>{"zeta", "alpha", "mid"}),
            reg.ValueNames(kHkeyCurrentUser, kKey));

  RegKey key = 0;
  ASSERT_EQ(kOk, reg.OpenKey(kHkeyCurrentUser, kKey, kKeyRead | kKeyWrite, &key));
  ASSERT_EQ(kOk, reg.DeleteValue(key, "zeta"));
  char name[16];
  std::uint32_t length = sizeof(name);
  ASSERT_EQ(kOk, reg.EnumValue(key, 0, name, &length, nullptr, nullptr, nullptr));
  EXPECT_EQ("alpha", std::string(name, length));
  reg.CloseKey(key);
}

TEST(MemoryRegistryNames, ChineseTrailBytesAreNeverFolded) {
  EXPECT_TRUE(SameName("\x81\x61x", "\x81\x61X")) << "ASCII after a pair still folds";
  EXPECT_FALSE(SameName("\x81\x61", "\x81\x41")) << "two different characters";
  EXPECT_TRUE(SameName("ab\x81", "AB\x81")) << "a lone lead byte at the end";
  MemoryRegistry reg;
  reg.PutString(kHkeyCurrentUser, kKey, "\xB6\x61", "one");
  reg.PutString(kHkeyCurrentUser, kKey, "\xB6\x41", "two");
  EXPECT_EQ(2u, reg.ValueNames(kHkeyCurrentUser, kKey).size());
}

TEST(MemoryRegistryControls, PutAndGetWorkOnRawBytes) {
  MemoryRegistry reg;
  reg.PutString(kHkeyLocalMachine, "A\\B", "s", "text", kRegExpandSz);
  reg.PutDword(kHkeyLocalMachine, "A\\B", "d", 0x01020304u);
  std::uint32_t type = 0;
  std::string bytes;
  ASSERT_TRUE(reg.Get(kHkeyLocalMachine, "a\\b", "S", &type, &bytes));
  EXPECT_EQ(kRegExpandSz, type);
  EXPECT_EQ(std::string("text\0", 5), bytes);
  ASSERT_TRUE(reg.Get(kHkeyLocalMachine, "A\\B", "d", &type, &bytes));
  EXPECT_EQ(kRegDword, type);
  EXPECT_EQ(std::string("\x04\x03\x02\x01", 4), bytes);
  EXPECT_TRUE(reg.HasKey(kHkeyLocalMachine, "A"));
  EXPECT_FALSE(reg.HasKey(kHkeyCurrentUser, "A"));
  reg.AddKey(kHkeyCurrentUser, "Empty\\Deep");
  EXPECT_TRUE(reg.HasKey(kHkeyCurrentUser, "Empty\\Deep"));
  EXPECT_TRUE(reg.ValueNames(kHkeyCurrentUser, "Empty\\Deep").empty());
}

TEST(MemoryRegistryFaults, DenyWriteRefusesEveryChangeToThatKeyOnly) {
  MemoryRegistry reg;
  reg.PutString(kHkeyLocalMachine, kKey, "v", "old");
  RegKey before = 0;
  ASSERT_EQ(kOk, reg.OpenKey(kHkeyLocalMachine, kKey, kKeyWrite, &before));
  reg.DenyWrite(kHkeyLocalMachine, "SOFTWARE\\test", true);

  RegKey key = 0;
  EXPECT_EQ(kAccessDenied, reg.OpenKey(kHkeyLocalMachine, kKey, kKeyWrite, &key));
  EXPECT_EQ(kAccessDenied, reg.CreateKey(kHkeyLocalMachine, kKey, kKeyWrite, &key));
  EXPECT_EQ(kAccessDenied,
            reg.CreateKey(kHkeyLocalMachine, "Software\\Test\\Child", kKeyWrite, &key));
  EXPECT_EQ(kAccessDenied, reg.SetValue(before, "v", kRegSz, "new", 4));
  EXPECT_EQ(kAccessDenied, reg.DeleteValue(before, "v"));
  EXPECT_EQ(kAccessDenied, reg.DeleteKey(kHkeyLocalMachine, kKey));
  EXPECT_EQ("old", ReadString(reg, kHkeyLocalMachine, kKey, "v")) << "reading still works";
  EXPECT_EQ(kOk, reg.CreateKey(kHkeyCurrentUser, kKey, kKeyWrite, &key)) << "other root";
  reg.CloseKey(key);

  reg.DenyWrite(kHkeyLocalMachine, kKey, false);
  EXPECT_EQ(kOk, reg.SetValue(before, "v", kRegSz, "new", 4));
  reg.CloseKey(before);
}

TEST(MemoryRegistryFaults, DenyAccessRefusesEveryOpenAndHoldsForKeysCreatedLater) {
  MemoryRegistry reg;
  reg.DenyAccess(kHkeyCurrentUser, kKey, true);
  RegKey key = 0;
  EXPECT_EQ(kAccessDenied, reg.CreateKey(kHkeyCurrentUser, kKey, kKeyWrite, &key));
  reg.PutString(kHkeyCurrentUser, kKey, "v", "x");
  EXPECT_EQ(kAccessDenied, reg.OpenKey(kHkeyCurrentUser, kKey, kKeyQueryValue, &key));
  EXPECT_TRUE(reg.HasValue(kHkeyCurrentUser, kKey, "v"));
  reg.DenyAccess(kHkeyCurrentUser, kKey, false);
  EXPECT_EQ("x", ReadString(reg, kHkeyCurrentUser, kKey, "v"));
}

TEST(MemoryRegistryFaults, AHandleToADeletedKeyReportsItDeleted) {
  MemoryRegistry reg;
  RegKey key = 0;
  ASSERT_EQ(kOk, reg.CreateKey(kHkeyCurrentUser, kKey, kKeyRead | kKeyWrite, &key));
  ASSERT_EQ(kOk, reg.DeleteKey(kHkeyCurrentUser, kKey));
  EXPECT_EQ(kKeyDeleted, reg.SetValue(key, "v", kRegSz, "x", 2));
  EXPECT_FALSE(reg.HasKey(kHkeyCurrentUser, kKey));
  EXPECT_EQ(kOk, reg.CloseKey(key));
}

class MemoryFilesFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    files.AddFolder("C:\\Startup");
    files.AddFile("C:\\Startup\\a.lnk", "link");
  }
  MemoryFiles files;
};

TEST_F(MemoryFilesFaults, ALockedFileRefusesChangesUntilUnlocked) {
  files.Lock("C:\\STARTUP\\A.LNK", true);
  std::string bytes;
  EXPECT_EQ(kSharingViolation, files.SetAttributes("C:\\Startup\\a.lnk", kAttrHidden));
  EXPECT_EQ(kSharingViolation, files.DeleteFile("C:\\Startup\\a.lnk"));
  EXPECT_EQ(kSharingViolation, files.WriteFile("C:\\Startup\\a.lnk", "x"));
  EXPECT_EQ(kSharingViolation, files.ReadFile("C:\\Startup\\a.lnk", &bytes));
  EXPECT_EQ(kAttrArchive, files.Attributes("C:\\Startup\\a.lnk"));
  files.Lock("C:\\Startup\\a.lnk", false);
  EXPECT_EQ(kOk, files.DeleteFile("C:\\Startup\\a.lnk"));
}

TEST_F(MemoryFilesFaults, AReadOnlyFolderRefusesNewFilesWritesAndDeletes) {
  files.SetReadOnlyFolder("C:\\Startup", true);
  EXPECT_EQ(kAccessDenied, files.WriteFile("C:\\Startup\\new.txt", "x"));
  EXPECT_FALSE(files.Exists("C:\\Startup\\new.txt"));
  EXPECT_EQ(kAccessDenied, files.WriteFile("C:\\Startup\\a.lnk", "x"));
  EXPECT_EQ(kAccessDenied, files.DeleteFile("C:\\Startup\\a.lnk"));
  EXPECT_EQ(kOk, files.SetAttributes("C:\\Startup\\a.lnk", kAttrHidden));
  EXPECT_EQ(kOk, files.WriteFile("C:\\elsewhere.txt", "x"));
}

TEST_F(MemoryFilesFaults, AFullDiskKeepsHalfTheBytesAndSaysSo) {
  files.SetDiskFull(true);
  EXPECT_EQ(kDiskFull, files.WriteFile("C:\\Startup\\a.lnk", "12345678"));
  std::string bytes;
  ASSERT_TRUE(files.FileBytes("C:\\Startup\\a.lnk", &bytes));
  EXPECT_EQ("1234", bytes);
  files.SetDiskFull(false);
  EXPECT_EQ(kOk, files.WriteFile("C:\\Startup\\a.lnk", "12345678"));
}

TEST_F(MemoryFilesFaults, AReadOnlyFileIsNotOverwrittenAndAVanishedFileIsGone) {
  // Windows refuses; Wine run as root does not, so this is not in the
  // shared suite.
  files.AddFile("C:\\Startup\\ro.txt", "kept", kAttrReadOnly);
  EXPECT_EQ(kAccessDenied, files.WriteFile("C:\\Startup\\ro.txt", "new"));
  std::string bytes;
  ASSERT_TRUE(files.FileBytes("C:\\Startup\\ro.txt", &bytes));
  EXPECT_EQ("kept", bytes);
  EXPECT_EQ(kAttrReadOnly | kAttrArchive, files.Attributes("C:\\Startup\\ro.txt"));

  files.RemoveFile("C:\\Startup\\a.lnk");
  std::uint32_t attributes = 0;
  EXPECT_EQ(kFileNotFound, files.GetAttributes("C:\\Startup\\a.lnk", &attributes));
  EXPECT_EQ(0xFFFFFFFFu, files.Attributes("C:\\Startup\\a.lnk"));
}

TEST(MemoryProfileCut, AChineseTextIsCutAtACharacterBoundary) {
  MemoryProfile profile;
  std::string text = "a";
  for (int i = 0; i < 200; ++i) text += "\xC6\xF4";
  profile.Put("windows", "load", text);
  std::string buffer(255, ' ');
  EXPECT_EQ(253u, profile.GetProfileString("windows", "LOAD", "(error)", &buffer[0], 255));
  EXPECT_EQ(text.substr(0, 253), std::string(buffer.c_str()));
  EXPECT_EQ(0u, profile.GetProfileString("windows", "load", "(error)", &buffer[0], 0));
}

TEST(MemorySystemFacts, ShellCallsAreRecordedAndFoldersExist) {
  MemoryPlatform machine;
  SystemApi& system = machine.platform().system;
  EXPECT_EQ(MemorySystem::kShellResult,
            system.ShellExecute(7, "open", "http://example.invalid/", "", "C:\\", 1));
  ASSERT_EQ(1u, machine.system().shellCalls.size());
  const ShellCall& call = machine.system().shellCalls[0];
  EXPECT_EQ(7u, call.owner);
  EXPECT_EQ("open", call.operation);
  EXPECT_EQ("http://example.invalid/", call.file);
  EXPECT_EQ("C:\\", call.directory);
  EXPECT_EQ(1, call.show);

  EXPECT_TRUE(machine.files().Exists(system.SystemDirectory()));
  EXPECT_TRUE(machine.files().Exists(system.ProgramFolder()));
  machine.system().SetSystemDirectory("D:\\WINNT\\system32");
  EXPECT_EQ("D:\\WINNT\\system32", system.SystemDirectory());
}

TEST(MemorySystemFacts, BrokenGbkBecomesQuestionMarks) {
  MemorySystem system;
  EXPECT_EQ("a?b", system.FromAnsi("a\xFF"
                                   "b"));
  EXPECT_EQ("a?", system.FromAnsi("a\xC6"));
  EXPECT_EQ("?x", system.ToAnsi("\xC3x")) << "a broken UTF-8 sequence";
}

}  // namespace
}  // namespace qel::mem

namespace qel::mem {
namespace {

TEST(MemoryPaths, ABackslashTrailByteDoesNotSplitAPath) {
  // 0x81 0x5C is one GBK character whose second byte is a backslash.
  const std::string folder = "C:\\\x81\x5C";
  EXPECT_EQ(SplitPath(folder, true), (std::vector<std::string>{"C:", "\x81\x5C"}));
  MemoryFiles files;
  files.AddFile(folder + "\\a.lnk", "x");
  std::vector<FileEntry> entries;
  ASSERT_EQ(files.ListFolder(folder, &entries), kOk);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, "a.lnk");
}

}  // namespace
}  // namespace qel::mem
