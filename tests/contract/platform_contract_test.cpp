// Keys, values, Win.ini, files, processes and the system facts: the statuses,
// names and round trips the program relies on.
#include <algorithm>
#include <set>

#include "contract/contract_helpers.h"

namespace qel::test {
namespace {

std::string Sz(const std::string& text) { return text + '\0'; }

using Calls = ContractTest;

TEST_F(Calls, ValuesRoundTripAndASmallBufferGetsMoreDataWithTheSize) {
  const std::pair<std::uint32_t, std::string> cases[] = {
      {kRegSz, Sz(api.system.ToAnsi("启动.exe"))}, {kRegExpandSz, Sz("%windir%")},
      {kRegMultiSz, std::string("one\0two\0\0", 9)}, {kRegBinary, std::string("\0\x80\xFF", 3)},
      {kRegNone, ""}, {kRegDword, "\xFF\xFF\xFF\xFF"}, {kRegSz, Sz(std::string(70000, 'h'))}};
  RegKey key = 0;
  const std::string below = kScratchKey + std::string("\\A\\B");
  ASSERT_EQ(kOk, reg.CreateKey(kHkeyCurrentUser, below, kKeyRead | kKeyWrite, &key));
  std::uint32_t got = 0, len = 0;
  for (const auto& [type, bytes] : cases) {
    ASSERT_EQ(kOk, reg.SetValue(key, "v", type, bytes.data(), std::uint32_t(bytes.size())));
    std::string buf(bytes.size() + 1, '#');
    len = 1;  // too small for all but the shortest
    EXPECT_EQ(bytes.size() > 1 ? kMoreData : kOk, reg.QueryValue(key, "V", nullptr, &buf[0], &len));
    EXPECT_EQ(bytes.size(), len);
    ASSERT_EQ(kOk, reg.QueryValue(key, "v", &got, &buf[0], &len));
    EXPECT_TRUE(got == type && buf.substr(0, len) == bytes) << type << " " << bytes.size();
  }
  EXPECT_EQ(kFileNotFound, reg.QueryValue(key, "absent", nullptr, nullptr, &len));
  reg.CloseKey(key);
  ASSERT_EQ(kOk, reg.OpenKey(kHkeyCurrentUser, "software\\qelmoracontract\\a\\b", kKeyRead, &key));
  EXPECT_EQ(kAccessDenied, reg.SetValue(key, "v", kRegSz, "x", 2)) << "a handle opened for query";
  EXPECT_EQ(kAccessDenied, reg.DeleteValue(key, "v"));
  reg.CloseKey(key);
  EXPECT_EQ(kAccessDenied, reg.DeleteKey(kHkeyCurrentUser, kScratchKey)) << "it has a subkey";
  EXPECT_EQ(kOk, reg.DeleteKey(kHkeyCurrentUser, below));
  EXPECT_EQ(kFileNotFound, reg.DeleteKey(kHkeyCurrentUser, below));
}

TEST_F(Calls, ValueNamesIgnoreAsciiCaseOnlyAndDeletingAtIndexZeroReachesThemAll) {
  RegKey key = 0;
  ASSERT_EQ(kOk, reg.CreateKey(kHkeyLocalMachine, kScratchKey, kKeyRead | kKeyWrite, &key));
  // GBK 0x81 0x41 and 0x81 0x61: their trail bytes differ only in ASCII case.
  for (const std::string name : {"RunMe", "\x81\x41", "\x81\x61", "RUNME", ""})
    ASSERT_EQ(kOk, reg.SetValue(key, name, kRegSz, Sz(name).data(), name.size() + 1));
  ASSERT_EQ(kOk, reg.SetValue(key, "long", kRegSz, Sz(std::string(299, 'x')).data(), 300));
  EXPECT_EQ(kFileNotFound, reg.DeleteValue(key, "gone"));
  std::set<std::string> seen;
  for (int round = 0; round < 9; ++round) {
    char name[255], data[255];
    std::uint32_t length = sizeof name, type = 0, size = sizeof data;
    const Status status = reg.EnumValue(key, 0, name, &length, &type, data, &size);
    if (status == kNoMoreItems) break;
    if (status == kMoreData) {  // the size it needs; asked again without data, its name
      length = sizeof name;
      ASSERT_EQ(kOk, reg.EnumValue(key, 0, name, &length, nullptr, nullptr, nullptr));
    }
    const std::string found(name, length);
    // A string's text without its NUL, or the size a value that did not fit needs.
    seen.insert(found + "=" + std::to_string(type) + ":" +
                (status == kOk ? std::string(data, size - 1) : std::to_string(size)));
    ASSERT_EQ(kOk, reg.DeleteValue(key, found == "RunMe" ? "RUNME" : found)) << found;
  }
  reg.CloseKey(key);
  EXPECT_EQ(seen, (std::set<std::string>{"=1:", "RunMe=1:RUNME", "long=1:300",
                                         "\x81\x41=1:\x81\x41", "\x81\x61=1:\x81\x61"}))
      << "a value set again keeps its first name";
}

TEST_F(Calls, TheOtherViewOfHklmSoftwareLiesUnderWow6432NodeAndHkcuHasOneView) {
  ASSERT_EQ(kKeyWow64_32Key, reg.OtherView());
  RegKey key = 0;
  for (RegKey root : {kHkeyLocalMachine, kHkeyCurrentUser}) {
    ASSERT_EQ(kOk, reg.CreateKey(root, kScratchKey, kKeyWrite | kKeyWow64_32Key, &key));
    ASSERT_EQ(kOk, reg.SetValue(key, "v", kRegSz, "32", 3));
    reg.CloseKey(key);
  }
  std::uint32_t size = 0;
  EXPECT_EQ(kFileNotFound, reg.OpenKey(kHkeyLocalMachine, kScratchKey, kKeyRead, &key));
  ASSERT_EQ(kOk, reg.OpenKey(kHkeyLocalMachine, kScratchKey32, kKeyRead, &key));
  EXPECT_EQ(kOk, reg.QueryValue(key, "v", nullptr, nullptr, &size));
  reg.CloseKey(key);
  ASSERT_EQ(kOk, reg.CreateKey(kHkeyLocalMachine, kScratchKey, kKeyWrite, &key));
  ASSERT_EQ(kOk, reg.SetValue(key, "v", kRegSz, "64", 3));
  reg.CloseKey(key);
  // One key through both views has one identity; the two views' keys have two.
  std::string identity[2][2];
  for (RegKey root : {kHkeyLocalMachine, kHkeyCurrentUser})
    for (std::uint32_t view : {kKeyWow64_64Key, kKeyWow64_32Key}) {
      ASSERT_EQ(kOk, reg.OpenKey(root, kScratchKey, kKeyRead | view, &key));
      EXPECT_EQ(kOk, reg.QueryValue(key, "v", nullptr, nullptr, &size));
      EXPECT_EQ(kOk, reg.KeyIdentity(key, &identity[root & 1][view >> 9]));
      reg.CloseKey(key);
    }
  EXPECT_NE(identity[0][0], identity[0][1]);
  EXPECT_EQ(identity[1][0], identity[1][1]) << "HKCU is shared";
}

TEST_F(Calls, ProfileKeysReadInAnyCaseAMissingOneGivesTheFallbackALongTextIsCutWhole) {
  const char* key = "qelmora_contract_k";
  api.profile.WriteProfileString("windows", key, nullptr);  // what a failed run left
  auto read = [&](std::uint32_t size) {
    std::string buffer(size, '#');
    return buffer.substr(0, api.profile.GetProfileString("WINDOWS", "QELMORA_CONTRACT_K",
                                                       "  (error)  ", &buffer[0], size));
  };
  EXPECT_EQ("  (error)", read(255)) << "the fallback without its trailing blanks";
  std::string mixed = "a";
  for (int i = 0; i < 200; ++i) mixed += api.system.ToAnsi("启");
  ASSERT_TRUE(api.profile.WriteProfileString("windows", key, mixed.c_str()));
  EXPECT_EQ(mixed, read(500));
  // Cut after the last whole character, at byte 253 (Wine fills one more byte).
  EXPECT_EQ(mixed.substr(0, 253), read(255).substr(0, 253));
  EXPECT_TRUE(api.profile.WriteProfileString("windows", key, nullptr));
  EXPECT_FALSE(api.profile.WriteProfileString("windows", key, nullptr)) << "deleting a missing key";
}

// Wine keeps the archive bit on every file: "no attributes" reads back as
// archive alone, never as normal.
TEST_F(Calls, FilesRoundTripAreListedWithTheirAttributesAndFailWithTheirOwnStatuses) {
  std::string bytes, all = "\xFF\x80" + std::string(70000, '\0');
  const std::pair<std::string, std::uint32_t> cases[] = {
      {"normal", kAttrNormal}, {"hidden.lnk", kAttrHidden}, {"ro.lnk", kAttrReadOnly},
      {"system.lnk", kAttrSystem | kAttrHidden}, {api.system.ToAnsi("启动项.lnk"), 0}};
  std::set<std::string> written, listed;
  for (const auto& [name, set] : cases) {
    ASSERT_TRUE(!files.WriteFile(At(name), all) && !files.SetAttributes(At(name), set)) << name;
    written.insert(name + ":" + std::to_string((set & ~kAttrNormal) | kAttrArchive));
    EXPECT_TRUE(files.ReadFile(At(name), &bytes) == kOk && bytes == all) << name;
  }
  std::vector<FileEntry> entries;
  ASSERT_EQ(kOk, files.ListFolder(machine_.folder + "\\", &entries));
  for (const FileEntry& e : entries) listed.insert(e.name + ":" + std::to_string(e.attributes));
  EXPECT_EQ(written, listed);
  // Over a hidden or system file Windows refuses this and Wine does not: no contract there.
  ASSERT_EQ(kOk, files.WriteFile(At("NORMAL"), "new"));
  EXPECT_TRUE(files.ReadFile(At("normal"), &bytes) == kOk && bytes == "new") << bytes;
  EXPECT_EQ(kAccessDenied, files.DeleteFile(At("ro.lnk"))) << "read-only until cleared";
  ASSERT_EQ(kOk, files.SetAttributes(At("ro.lnk"), 0));
  EXPECT_EQ(kOk, files.DeleteFile(At("RO.LNK")));
  EXPECT_EQ(kFileNotFound, files.ReadFile(At("ro.lnk"), &bytes));
  EXPECT_EQ(kPathNotFound, files.ListFolder(At("nofolder"), &entries));
  EXPECT_EQ(kAccessDenied, files.ReadFile(machine_.folder, &bytes)) << "a folder";
}

TEST_F(Calls, ARenameReplacesAHiddenSystemFileAndFoldersGoOnlyEmpty) {
  const std::string sub = At("sub"), a = sub + "\\a", b = sub + "\\b";
  std::string bytes;
  std::uint32_t attributes = 0;
  ASSERT_EQ(kOk, files.CreateFolder(sub));
  EXPECT_EQ(kAlreadyExists, files.CreateFolder(sub));
  EXPECT_EQ(kPathNotFound, files.CreateFolder(At("none\\sub")));
  ASSERT_TRUE(!files.WriteFile(a, "A") && !files.WriteFile(b, "B") && !files.SetAttributes(a, kAttrHidden));
  EXPECT_EQ(kAlreadyExists, files.MoveFile(a, b, false));
  ASSERT_EQ(kOk, files.SetAttributes(b, kAttrHidden | kAttrSystem));
  EXPECT_EQ(kOk, files.MoveFile(a, b, true));
  EXPECT_TRUE(!files.ReadFile(b, &bytes) && bytes == "A" && !files.GetAttributes(b, &attributes) &&
              attributes == (kAttrHidden | kAttrArchive) && !files.Exists(a)) << bytes << attributes;
  EXPECT_EQ(kDirNotEmpty, files.RemoveFolder(sub));
  ASSERT_TRUE(!files.SetAttributes(b, 0) && !files.DeleteFile(b));
  EXPECT_EQ(kOk, files.RemoveFolder(sub));
  EXPECT_FALSE(files.Exists(sub));
}

TEST_F(Calls, TheCodePageIsGbkAndTheSystemFoldersHaveNoTrailingBackslash) {
  EXPECT_EQ(936u, api.system.AnsiCodePage());
  // Hangul, and an emoji (two UTF-16 units), are what GBK cannot hold.
  EXPECT_EQ("\xC6\xF4\xB6\xAF???", api.system.ToAnsi("启动한\xF0\x9F\x98\x80"));
  for (const std::string& folder : {api.system.SystemDirectory(), api.system.ProgramFolder()})
    EXPECT_TRUE(files.Exists(folder) && folder.back() != '\\') << folder;
}

// The program's own process is listed under its file name alone; an ID no process has
// cannot be ended.
TEST_F(Calls, TheCurrentProcessIsListedByItsFileNameAndAMissingOneCannotBeEnded) {
  std::vector<ProcessEntry> list;
  ASSERT_EQ(kOk, api.processes.Snapshot(&list));
  const std::uint32_t self = api.processes.CurrentProcessId();
  auto found = std::find_if(list.begin(), list.end(), [&](const ProcessEntry& p) { return p.id == self; });
  ASSERT_NE(found, list.end());
  EXPECT_TRUE(found->exeName.size() > 4 && found->exeName.find_first_of("\\/:") == std::string::npos) << found->exeName;
  EXPECT_EQ(kInvalidParameter, api.processes.Terminate(0x7FFFFFF0));
}

}  // namespace
}  // namespace qel::test
