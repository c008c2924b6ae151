// The confirm button: the machine ends up matching the lists, keeps value
// types, leaves alone what was never listed, and says what it could not do.
#include "startup/commit.h"
#include "support/window_fixture.h"

namespace qel::test {
namespace {

class CommitTest : public Form1Test {
 public:
  void TestBody() override {}  // also made afresh, outside a test, for each cut of a commit
  // The rich machine's commit, cut after budget calls (-1: never). Checks that no listed
  // row is lost, and that a commit run through leaves the machine as the lists say.
  // twoViews: a 64-bit Windows, whose other view holds rows too, one named as in the own view.
  long CommitCutAfter(long budget, bool twoViews = false) {
    // Moves, both kinds of swap, two rows for one place, edits keeping their types, deletes
    // of values, Win.ini keys and (read-only) files, and what the commit must never touch.
    machine.registry.PutString(kHkeyLocalMachine, kRun, "Foo", "on.exe");
    machine.registry.PutString(kHkeyLocalMachine, kRunTwin, "Foo", "off.exe", kRegExpandSz);
    machine.registry.PutString(kHkeyLocalMachine, kRun, "Both", "first.exe");
    machine.registry.PutString(kHkeyLocalMachine, kRunTwin, "Both", "last.exe");
    machine.registry.PutDword(kHkeyLocalMachine, kRunOnceEx, "Edited", 7);
    machine.registry.PutString(kHkeyLocalMachine, kRunServicesTwin, "u-" + G("中"), std::string(300, 'l'));
    machine.registry.PutString(kHkeyCurrentUser, kRun, "gone", "gone.exe");
    machine.registry.Put(kHkeyCurrentUser, kRun, "multi", kRegMultiSz, std::string("a\0b\0\0", 5));
    machine.registry.PutString(kHkeyCurrentUser, kRun, "exp", "%windir%\\a.exe", kRegExpandSz);
    machine.registry.PutString(kHkeyCurrentUser, kRun, "plain", "p.exe");
    machine.registry.Put(kHkeyCurrentUser, kRunOnce, "u-junk", kRegSz, std::string("a.exe\0old\0", 10));
    machine.profile.Put("windows", "load", "l.exe");
    machine.profile.Put("windows", "noload", "n.exe");
    machine.profile.Put("windows", "run", "r.exe");
    machine.AddStartupFile("gone.lnk");
    machine.AddStartupFile("ro.lnk", kAttrReadOnly | kAttrHidden);
    machine.AddStartupFile("a.lnk", kAttrHidden | kAttrReadOnly);
    machine.AddStartupFile("b.lnk", kAttrReadOnly);
    machine.AddStartupFile("b.exe");  // both follow the last row "b"
    if (twoViews) {
      machine.registry.otherView = kKeyWow64_32Key;
      machine.registry.PutString(kHkeyLocalMachine, kRun32, "Foo", "o32.exe");
      machine.registry.PutString(kHkeyLocalMachine, kRun32, "del32", "d.exe");
      machine.registry.PutString(kHkeyLocalMachine, kRunOnce32, "exp32", "%windir%\\e.exe", kRegExpandSz);
    }
    Load();
    const std::vector<StartupEntry> scanned = Rows();
    Toggle("|Foo|exp|l.exe|n.exe|a|b|");  // both Foo trade places, as do load and noload
    form->List1.SetSelected(RowOf("Both"), false);  // two rows for one place: the last is written
    for (const char* name : {"gone", "r.exe", "gone", "ro"}) Delete(name);
    Edit("Edited", "9");
    Edit("plain", "%ProgramFiles%\\p.exe");  // read as REG_SZ, so never expanded: stays REG_SZ
    if (twoViews) {
      Delete("del32");
      Edit("exp32", "%windir%\\f.exe");
    }
    machine.AddStartupFile("unseen.lnk");  // arrived after the scan: the user never saw it
    const std::vector<StartupEntry> wanted = Rows();
    const long before = machine.memory.CallCount();
    machine.memory.SetCallBudget(budget);
    if (budget < 0) form->Command2_Click();
    else EXPECT_THROW(form->Command2_Click(), mem::PowerCut);
    machine.memory.SetCallBudget(-1);
    const long calls = machine.memory.CallCount() - before;
    Load();  // what the next start lists
    const std::vector<StartupEntry> listed = Rows();
    auto kept = [&](const StartupEntry& e) {  // as it was, or as a swap's spare copy
      for (const StartupEntry& r : listed)
        if (r.commandLine == e.commandLine &&
            (r.name.find(" (backup)") != std::string::npos || (r.name == e.name && r.tag == e.tag && r.enabled == e.enabled)))
          return true;
      return false;
    };
    // Each row still listed: its wanted copy, or when cut, its scanned one.
    for (const StartupEntry& row : wanted) {
      if (row.name == "Both") continue;  // one place for two rows
      bool found = kept(row);
      for (const StartupEntry& old : scanned)
        found = found || (budget >= 0 && old.tag == row.tag && old.name == row.name && kept(old));
      EXPECT_TRUE(found) << "row " << row.name << " lost after " << budget << " calls";
    }
    if (budget >= 0) return calls;
    EXPECT_TRUE(host.ended && host.boxes.empty());
    EXPECT_EQ(machine.Places(), "Run|Foo|2|off.exe<0>\nRun-|Foo|1|on.exe<0>\nRun-|Both|1|last.exe<0>\nRun|multi|7|a<0>b<0><0>\n"
                         "Run|plain|1|%ProgramFiles%\\p.exe<0>\nRun-|exp|2|%windir%\\a.exe<0>\n"
                         "runServices-|u-<214><208>|1|" + std::string(300, 'l') + "<0>\n"
                         "runOnce|u-junk|1|a.exe<0>old<0>\n"
                         "RunOnceEx|Edited|4|<9><0><0><0>\n" +
                         (twoViews ? "32:Run-|Foo|1|o32.exe<0>\n32:RunOnce|exp32|2|%windir%\\f.exe<0>\n" : "") +
                         "ini|load|n.exe\nini|noload|l.exe\n");
    std::string files;  // read-only, hidden and system bits; a missing file has them all
    for (const char* f : {"a.lnk", "b.lnk", "b.exe", "gone.lnk", "ro.lnk", "unseen.lnk"})
      files += std::to_string(machine.files.Attributes(machine.StartupPath(f)) & (kAttrReadOnly | kAttrHidden | kAttrSystem));
    EXPECT_EQ(files, "022770");
    return calls;
  }
  // Flips the mark of every row whose name is in names, "|a|b|".
  void Toggle(const std::string& names) {
    for (int i = 0; i < form->List1.ListCount(); ++i)
      if (names.find("|" + form->List1.List(i) + "|") != std::string::npos)
        form->List1.SetSelected(i, !form->List1.Selected(i));
  }
  void Delete(const char* name) { Click(RowOf(name)); form->Command1_Click(); }
  void Edit(const char* name, const char* text) { Click(RowOf(name)); form->Text2.SetText(text); }
  std::vector<StartupEntry> Rows() const {
    std::vector<StartupEntry> rows;
    for (int i = 0; i < form->entries().Count(); ++i) rows.push_back(form->entries().Row(i));
    return rows;
  }
};

TEST_F(CommitTest, WhatCouldNotBeDoneStaysAndIsListedInOneMessage) {
  machine.registry.PutString(kHkeyLocalMachine, kRun, "moved", "m.exe");
  machine.registry.PutString(kHkeyLocalMachine, kRun, "deleted", "d.exe");
  machine.registry.Put(kHkeyCurrentUser, kRun, "Held", kRegMultiSz, std::string("a\0\0", 3));
  machine.registry.PutString(kHkeyCurrentUser, kRunTwin, "Held", "h.exe");
  machine.registry.PutString(kHkeyCurrentUser, kRun, "ok", "ok.exe");
  machine.profile.Put("windows", "load", "l.exe");
  machine.profile.Put("windows", "noload", "n.exe");
  for (const char* file : {"locked.lnk", "hold.lnk"}) machine.AddStartupFile(file);
  machine.registry.PutDword(kHkeyCurrentUser, kExplorerPolicies, "NoRun", 1);
  Load();
  machine.registry.DenyWrite(kHkeyLocalMachine, kRun, true);  // a limited user
  machine.registry.DenyWrite(kHkeyLocalMachine, kRunTwin, true);
  machine.registry.DenyWrite(kHkeyCurrentUser, kRunTwin, true);  // no spare copy for the swap
  for (const char* file : {"locked.lnk", "hold.lnk"}) machine.files.Lock(machine.StartupPath(file), true);
  Toggle("|moved|Held|ok|l.exe|n.exe|hold|");
  Delete("deleted");
  Delete("locked");
  form->Command2_Click();
  EXPECT_EQ(machine.Places(), "Run|moved|1|m.exe<0>\nRun|deleted|1|d.exe<0>\nRun|Held|7|a<0><0>\nRun|ok|1|ok.exe<0>\n"
                             "Run-|Held|1|h.exe<0>\nini|load|l.exe\nini|noload|n.exe\n");
  EXPECT_FALSE(machine.registry.Get(kHkeyCurrentUser, kExplorerPolicies, "NoRun", nullptr, nullptr));  // the rest ran
  ASSERT_EQ(host.boxes.size(), 2u);  // the locked file cannot be copied: asked first, and Yes
  for (const std::string& part : {G("moved（HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run-）：无法写入：拒绝访问（错误 5）"),
                                  G("deleted（HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run）：无法删除"),
                                  G("Held（"), G("不能显示"), G("l.exe（Win.ini文件的noload项）：交换位置前无法保存备份"),
                                  G("n.exe（"), G("ok（"), machine.StartupPath("locked.lnk"),
                                  machine.StartupPath("hold.lnk") + G("）：无法更改文件属性")})
    EXPECT_NE(LastMessage().find(part), std::string::npos) << part;
}

TEST_F(CommitTest, NamesTheCodePageCannotHoldAreNeverTouchedNorCreated) {
  machine.registry.PutString(kHkeyCurrentUser, kRun, "??", "k.exe");
  machine.registry.MakeNameUnrepresentable(kHkeyCurrentUser, kRun, "??");
  machine.registry.PutString(kHkeyCurrentUser, kRun, "plain", "p.exe");
  machine.AddStartupFile("??.lnk", kAttrHidden);
  Load();
  const std::string listed = "??|k.exe|reg2|1\nplain|p.exe|reg2|1\n??|" + machine.StartupPath("??.lnk") + "|startup|0\n";
  ASSERT_EQ(AllRows(), listed);
  for (int row : {0, 2}) {  // each refusal says why; the location text says so too
    Click(row);
    EXPECT_TRUE(form->text2text.text().find(G("不能更改")) != std::string::npos && !form->Text2.enabled());
    form->List1.SetSelected(row, !form->List1.Selected(row));  // the user toggles the mark
    form->List1_Click();
    form->Command1_Click();
  }
  EXPECT_EQ(AllRows() + std::to_string(host.boxes.size()), listed + "4");
  form->entries().ReplaceAll({{"??", true, "k.exe", "reg2"}, {"?x", true, "x.exe", "reg2"},
                              {"plain", false, "p.exe", "reg2"}, {"??", true, "whatever", "startup"},
                              {"far", true, "f.exe", "reg64"},  // saved on a 64-bit Windows
                              {"all", false, "C:\\a.lnk", "commonstartup"}});
  form->Command2_Click();
  EXPECT_EQ(machine.Places(), "Run|??|0|\nRun-|plain|1|p.exe<0>\n");  // the true one alone, no "?x"
  EXPECT_TRUE(machine.files.Attributes(machine.StartupPath("??.lnk")) & kAttrHidden);
  EXPECT_NE(LastMessage().find("?x"), std::string::npos);
  EXPECT_NE(LastMessage().find(G("all（注意：不可恢复（所有用户的启动文件夹））：本机没有这个位置")), std::string::npos);
  EXPECT_NE(LastMessage().find(G("far（HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run（64位））：本机没有这个位置")),
            std::string::npos);
}

// Task Manager's switch is honoured where it is well formed; the policy Run keys and the All
// Users Startup folder are managed like the Run keys and the user's folder.
TEST_F(CommitTest, TaskManagersSwitchPolicyRunKeysAndAllUsersStartupFolder) {
  const std::string approved = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\";
  const std::string policyRun = std::string(kExplorerPolicies) + "\\Run", common = "C:\\All Users\\StartUp";
  const std::string stamp = "\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A\x0B";
  machine.registry.PutString(kHkeyLocalMachine, kShellFolders, "Common Startup", common);
  for (const char* file : {"\\all.lnk", "\\tm.lnk"}) machine.files.AddFile(common + file, "x");
  machine.AddStartupFile("user.lnk");
  const struct { RegKey root; const char *key, *name, *flag; } flags[] = {
      {kHkeyCurrentUser, "Run", "off", "\x03"}, {kHkeyCurrentUser, "Run", "kept", "\x07"},
      {kHkeyCurrentUser, "Run", "on", "\x02"}, {kHkeyCurrentUser, "StartupFolder", "user.lnk", "\x03"},
      {kHkeyLocalMachine, "StartupFolder", "tm.lnk", "\x03"}};
  for (const auto& f : flags) {
    if (f.root == kHkeyCurrentUser && std::string(f.key) == "Run") machine.registry.PutString(f.root, kRun, f.name, "x.exe");
    machine.registry.Put(f.root, approved + f.key, f.name, kRegBinary, f.flag + stamp);
  }
  machine.registry.PutString(kHkeyCurrentUser, kRun, "short", "x.exe");  // malformed flags: ignored, kept
  machine.registry.Put(kHkeyCurrentUser, approved + "Run", "short", kRegBinary, std::string("\x03\0\0", 3));
  machine.registry.PutString(kHkeyCurrentUser, kRun, "dword", "x.exe");
  machine.registry.PutDword(kHkeyCurrentUser, approved + "Run", "dword", 3);
  machine.registry.PutString(kHkeyLocalMachine, policyRun, "pol", "pol.exe");
  machine.registry.PutString(kHkeyCurrentUser, policyRun, "upol", "upol.exe");
  Load();
  EXPECT_EQ(AllRows(), "off|x.exe|reg2|0\nkept|x.exe|reg2|0\non|x.exe|reg2|1\nshort|x.exe|reg2|1\ndword|x.exe|reg2|1\n"
                       "pol|pol.exe|HKLMPoliciesRun|1\nupol|upol.exe|HKCUPoliciesRun|1\n"
                       "user|" + machine.StartupPath("user.lnk") + "|startup|0\nall|" + common + "\\all.lnk|commonstartup|1\n"
                       "tm|" + common + "\\tm.lnk|commonstartup|0\n");
  Click(RowOf("off"));
  EXPECT_EQ(form->text2text.text(), G("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run（已在任务管理器中禁用）（找不到程序文件）"));
  Toggle("|off|pol|upol|all|user|");
  form->Command2_Click();
  EXPECT_TRUE(host.boxes.empty()) << LastMessage();
  EXPECT_EQ(machine.Places(), "Run|off|1|x.exe<0>\nRun|kept|1|x.exe<0>\nRun|on|1|x.exe<0>\nRun|short|1|x.exe<0>\n"
                              "Run|dword|1|x.exe<0>\nRun-|pol|1|pol.exe<0>\nRun-|upol|1|upol.exe<0>\n");
  for (const auto& f : flags) {  // cleared where checked, the time stamp kept; untouched elsewhere
    const bool cleared = std::string(f.name) == "off" || std::string(f.name) == "user.lnk";
    EXPECT_TRUE(HasValue(machine.registry, f.root, approved + f.key, f.name, kRegBinary, (cleared ? "\x02" : f.flag) + stamp)) << f.name;
  }
  EXPECT_TRUE(HasValue(machine.registry, kHkeyCurrentUser, approved + "Run", "short", kRegBinary, std::string("\x03\0\0", 3)));
  std::string attributes;  // hidden bit: all hidden, tm (unchecked by Task Manager) and user (checked) not
  for (const std::string& path : {common + "\\all.lnk", common + "\\tm.lnk", machine.StartupPath("user.lnk")})
    attributes += "01"[(machine.files.Attributes(path) & kAttrHidden) != 0];
  EXPECT_EQ(attributes, "100");
}

// On a 64-bit Windows, where the registry editor that imports it is a 64-bit program.
TEST_F(CommitTest, TheBackupHoldsWhatTheConfirmChangesAsItWasAndNothingElse) {
  machine.registry.otherView = kKeyWow64_64Key;  // the program's own view is the 32-bit one
  machine.registry.PutString(kHkeyLocalMachine, kRun32, "w32", "w.exe");
  machine.registry.PutString(kHkeyLocalMachine, kRun, "\x81\x5C \"q\"", "C:\\ime\\" + G("输入法") + ".exe");
  machine.registry.PutString(kHkeyLocalMachine, kRun, "kept", "k.exe");
  machine.registry.PutString(kHkeyCurrentUser, kRun, "exp", "%windir%\\system32\\a-long-name.exe", kRegExpandSz);
  machine.registry.PutDword(kHkeyLocalMachine, kRunOnceEx, "Flags", 32);
  machine.registry.PutDword(kHkeyCurrentUser, kExplorerPolicies, "NoRun", 1);
  machine.profile.Put("windows", "load", "l.exe");
  machine.files.AddFile(machine.StartupPath("gone.lnk"), std::string("\0\x80 link", 7), kAttrReadOnly);
  machine.AddStartupFile("hide.lnk");
  machine.AddStartupFile("same.lnk");
  Load();
  Toggle("|\x81\x5C \"q\"|hide|");
  for (const char* name : {"exp", "l.exe", "gone", "w32"}) Delete(name);
  Edit("Flags", "33");
  form->Command2_Click();
  const std::string folder = std::string(mem::MemorySystem::kProgramFolder) + "\\backup\\20240309-080507\\";
  EXPECT_EQ(File(folder + "registry.reg"), "REGEDIT4\r\n\r\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n\"w32\"=\"w.exe\"\r\n\r\n"
            "[HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n\"exp\"=hex(2):25,77,69,6e,64,69,72,25,5c,73,"
            "79,73,74,65,6d,33,32,5c,61,2d,6c,6f,\\\r\n  6e,67,2d,6e,61,6d,65,2e,65,78,65,00\r\n\r\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n"
            "\"\x81\x5C \\\"q\\\"\"=\"C:\\\\ime\\\\" + G("输入法") + ".exe\"\r\n\r\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnceEx]\r\n\"Flags\"=dword:00000020\r\n\r\n"
            "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer]\r\n\"NoRun\"=dword:00000001\r\n\r\n"
            "; Win.ini [windows] load=l.exe\r\n\r\n");
  EXPECT_EQ(File(folder + "gone.lnk"), std::string("\0\x80 link", 7));
  const std::string list = File(folder + "startup.txt");
  for (const std::string& line : {"\r\n" + machine.StartupPath("gone.lnk") + "\tRA\t" + folder + "gone.lnk\r\n",
                                  "\r\n" + machine.StartupPath("hide.lnk") + "\tA\r\n"})
    EXPECT_NE(list.find(line), std::string::npos) << line;
  EXPECT_EQ(list.find("same.lnk"), std::string::npos);
}

TEST_F(CommitTest, ABackupThatCannotBeWrittenIsAskedAboutNoChangesNothingAndOnly30AreKept) {
  const std::string backups = std::string(mem::MemorySystem::kProgramFolder) + "\\backup";
  Load();
  form->Command2_Click();  // nothing to change: no backup
  EXPECT_FALSE(machine.files.Exists(backups));
  machine.registry.PutString(kHkeyCurrentUser, kRun, "gone", "gone.exe");
  machine.AddStartupFile("gone.lnk");
  for (int i = 0; i < 31; ++i) machine.files.AddFile(backups + "\\20230101-0000" + std::to_string(10 + i) + "\\registry.reg", "");
  for (const char* other : {"\\20230101-000000-x", "\\20200101-000000.old"}) machine.files.AddFolder(backups + other);
  machine.files.AddFolder(backups + "\\20240309-080507");  // taken: the next name is -2
  machine.files.SetDiskFull(true);
  host.ended = false;
  for (int answer : {ui::kIdNo, ui::kIdYes}) {
    Load();
    Delete("gone");
    Delete("gone");
    const std::string places = machine.Places();
    host.answer = answer;
    form->Command2_Click();
    EXPECT_NE(LastMessage().find(backups + "\\20240309-080507-2"), std::string::npos);
    EXPECT_EQ(host.lastFlags, ui::kMbYesNo | ui::kMbIconWarning | ui::kMbDefButton2);
    const bool unchanged = machine.Places() == places && machine.files.Exists(machine.StartupPath("gone.lnk"));
    EXPECT_EQ(std::to_string(unchanged) + std::to_string(host.ended), answer == ui::kIdNo ? "10" : "01");
  }
  std::vector<FileEntry> left;
  machine.files.ListFolder(backups, &left);
  std::string names;
  for (const FileEntry& e : left) names += e.name.substr(12) + " ";
  EXPECT_EQ(names, "012 013 014 015 016 017 018 019 020 021 022 023 024 025 026 027 028 029 030 031 032 033 034 035 036 037 038 039 040 "
                   "000-x 000.old 507 ");
}

// A commit cut short after any platform call (a power cut, a crash) loses no
// entry: every row still in the list is in its old place or its new one.
TEST(CommitFaultTest, NoRowIsLostWhereverTheCommitStops) {
  for (bool twoViews : {false, true}) {
    const long fullCommitCalls = CommitTest().CommitCutAfter(-1, twoViews);
    ASSERT_GT(fullCommitCalls, 100);
    for (long k = 0; k < fullCommitCalls && !::testing::Test::HasFailure(); ++k)
      EXPECT_EQ(CommitTest().CommitCutAfter(k, twoViews), k) << "not cut after " << k << " calls";
  }
}

// The type and bytes an edited row is written with.
TEST(ValueToWrite, KeepsTheStoredFormWhereTheTextAllowsElseWritesText) {
  const std::string z("\0", 1), one("\x01\0\0\0", 4);
  const struct { StoredValue stored; const char* text; StoredValue written; } cases[] = {
      {{kRegNone, ""}, "%windir%\\x.exe", {kRegExpandSz, "%windir%\\x.exe" + z}},
      {{kRegNone, ""}, "100%% a%b c%", {kRegSz, "100%% a%b c%" + z}},
      {{kRegDword, one}, "2147483647", {kRegDword, std::string("\xFF\xFF\xFF\x7F", 4)}},
      {{kRegDword, one}, "21474836470", {kRegSz, "21474836470" + z}},
      {{kRegBinary, "\x05"}, "7", {kRegBinary, "\x07"}},
      {{kRegBinary, "\x05"}, "256", {kRegSz, "256" + z}},
      {{kRegBinary, "\x05"}, "-1", {kRegSz, "-1" + z}},
      {{kRegDword, one}, "x1", {kRegSz, "x1" + z}},
  };
  for (const auto& c : cases) {
    StoredValue written = ValueToWrite(c.stored, c.text);
    EXPECT_EQ(std::to_string(written.type) + written.bytes, std::to_string(c.written.type) + c.written.bytes) << c.text;
  }
}

}  // namespace
}  // namespace qel::test
