// The confirm button: the machine ends up matching the lists, keeps value
// types, leaves alone what was never listed, and loses nothing when cut short.
#include <gtest/gtest.h>

#include "support/form1_fixture.h"

namespace qel::test {
namespace {

class CommitTest : public Form1Test {
 protected:
  void Confirm() {
    form->Command2_Click();
    ASSERT_TRUE(host.ended);
  }
  void Uncheck(const std::string& name) { form->List1.SetSelected(RowOf(name), false); }
  void Check(const std::string& name) { form->List1.SetSelected(RowOf(name), true); }
  void Delete(const std::string& name) {
    Click(RowOf(name));
    form->Command1_Click();
  }
  void Edit(const std::string& name, const std::string& text) {
    Click(RowOf(name));
    form->Text2.SetText(text);
  }
  std::vector<std::string> Names(RegKey root, const std::string& key) {
    return machine.registry.ValueNames(root, key);
  }
};

TEST_F(CommitTest, UncheckingMovesAValueToTheTwinAndCheckingMovesItBack) {
  machine.PutString(kHkeyLocalMachine, kRun, G("输入法"), G("c:\\输入法.exe"));
  Load();
  Uncheck(G("输入法"));
  Confirm();
  EXPECT_TRUE(Names(kHkeyLocalMachine, kRun).empty());
  EXPECT_TRUE(HasValue(machine.registry, kHkeyLocalMachine, kRunTwin, G("输入法"), kRegSz, Sz(G("c:\\输入法.exe"))));
  EXPECT_TRUE(host.boxes.empty());

  Load();
  EXPECT_FALSE(form->List1.Selected(0));
  Check(G("输入法"));
  Confirm();
  EXPECT_TRUE(Names(kHkeyLocalMachine, kRunTwin).empty());
  EXPECT_TRUE(HasValue(machine.registry, kHkeyLocalMachine, kRun, G("输入法"), kRegSz, Sz(G("c:\\输入法.exe"))));
}

TEST_F(CommitTest, DeletedRowsLeaveEveryPlace) {
  machine.PutString(kHkeyCurrentUser, kRun, "gone", "gone.exe");
  machine.PutString(kHkeyCurrentUser, kRun, "kept", "kept.exe");
  machine.profile.Put("windows", "run", "r.exe");
  machine.profile.Put("windows", "noload", "n.exe");
  machine.AddStartupFile("plain.lnk");
  machine.AddStartupFile("ro.lnk", kAttrReadOnly | kAttrHidden);
  machine.AddStartupFile("desktop.ini", kAttrSystem | kAttrHidden);
  Load();
  for (const char* name : {"gone", "r.exe", "n.exe", "plain", "ro"}) Delete(name);
  Confirm();
  EXPECT_EQ(Names(kHkeyCurrentUser, kRun), std::vector<std::string>{"kept"});
  EXPECT_TRUE(Names(kHkeyCurrentUser, std::string(kRun) + "-").empty());
  std::string text;
  EXPECT_FALSE(machine.profile.Get("windows", "run", &text));
  EXPECT_FALSE(machine.profile.Get("windows", "noload", &text));
  EXPECT_FALSE(machine.files.Exists(machine.StartupPath("plain.lnk")));
  EXPECT_FALSE(machine.files.Exists(machine.StartupPath("ro.lnk")));  // read-only is cleared first
  EXPECT_TRUE(machine.files.Exists(machine.StartupPath("desktop.ini")));  // system files are not ours
  EXPECT_TRUE(machine.registry.HasKey(kHkeyCurrentUser, kRun));  // keys stay, emptied
}

TEST_F(CommitTest, StartupFilesGetExactlyHiddenOrNoAttribute) {
  machine.AddStartupFile("a.lnk", kAttrReadOnly | kAttrArchive);
  machine.AddStartupFile("b.lnk", kAttrHidden | kAttrReadOnly);
  machine.AddStartupFile("b.exe");  // follows the one row "b" too
  Load();
  Uncheck("a");
  Check("b");
  Confirm();
  // Wine, like the memory machine, reports the archive bit on every file.
  const std::uint32_t ignored = kAttrArchive | kAttrNormal;
  EXPECT_EQ(machine.files.Attributes(machine.StartupPath("a.lnk")) & ~ignored, kAttrHidden);
  EXPECT_EQ(machine.files.Attributes(machine.StartupPath("b.lnk")) & ~ignored, 0u);
  EXPECT_EQ(machine.files.Attributes(machine.StartupPath("b.exe")) & ~ignored, 0u);
}

TEST_F(CommitTest, WinIniKeysTakeTheLaterRowAndTheUnusedKeyGoes) {
  machine.profile.Put("windows", "load", "first.exe");
  machine.profile.Put("windows", "noload", "second.exe two.exe");
  Load();
  Check("second.exe two.exe");
  Confirm();
  std::string text;
  ASSERT_TRUE(machine.profile.Get("windows", "load", &text));
  EXPECT_EQ(text, "second.exe two.exe");
  EXPECT_FALSE(machine.profile.Get("windows", "noload", &text));
}

TEST_F(CommitTest, SameNameInKeyAndTwinStayApart) {
  machine.PutString(kHkeyLocalMachine, kRun, "Foo", "on.exe");
  machine.PutString(kHkeyLocalMachine, kRunTwin, "Foo", "off.exe");
  Load();
  Confirm();
  EXPECT_TRUE(HasValue(machine.registry, kHkeyLocalMachine, kRun, "Foo", kRegSz, Sz("on.exe")));
  EXPECT_TRUE(HasValue(machine.registry, kHkeyLocalMachine, kRunTwin, "Foo", kRegSz, Sz("off.exe")));
}

TEST_F(CommitTest, RowsThatTradePlacesEndInEachOthersPlaceWithNoSpareLeft) {
  machine.PutString(kHkeyLocalMachine, kRun, "Foo", "on.exe");
  machine.PutString(kHkeyLocalMachine, kRunTwin, "Foo", "off.exe", kRegExpandSz);
  machine.profile.Put("windows", "load", "l.exe");
  machine.profile.Put("windows", "noload", "n.exe");
  Load();
  for (int i = 0; i < form->List1.ListCount(); ++i) form->List1.SetSelected(i, !form->List1.Selected(i));
  Confirm();
  EXPECT_TRUE(HasValue(machine.registry, kHkeyLocalMachine, kRun, "Foo", kRegExpandSz, Sz("off.exe")));
  EXPECT_TRUE(HasValue(machine.registry, kHkeyLocalMachine, kRunTwin, "Foo", kRegSz, Sz("on.exe")));
  EXPECT_EQ(Names(kHkeyLocalMachine, kRunTwin).size(), 1u);
  EXPECT_TRUE(Names(kHkeyCurrentUser, std::string(kRun) + "-").empty());
  std::string text;
  EXPECT_TRUE(machine.profile.Get("windows", "load", &text) && text == "n.exe");
  EXPECT_TRUE(machine.profile.Get("windows", "noload", &text) && text == "l.exe");
}

TEST_F(CommitTest, ARowWhoseNewPlaceCannotBeWrittenStaysWhereItWas) {
  machine.PutString(kHkeyLocalMachine, kRun, "b", "b.exe");
  Load();
  machine.registry.DenyWrite(kHkeyLocalMachine, kRunTwin, true);
  Uncheck("b");
  Confirm();
  EXPECT_TRUE(HasValue(machine.registry, kHkeyLocalMachine, kRun, "b", kRegSz, Sz("b.exe")));
}

TEST_F(CommitTest, AValueTheScanCannotShowIsNeverWrittenOver) {
  machine.registry.Put(kHkeyLocalMachine, kRun, "Foo", kRegMultiSz, std::string("a\0b\0\0", 5));
  machine.PutString(kHkeyLocalMachine, kRunTwin, "Foo", "foo.exe");
  Load();
  Check("Foo");
  Confirm();
  EXPECT_TRUE(HasValue(machine.registry, kHkeyLocalMachine, kRun, "Foo", kRegMultiSz, std::string("a\0b\0\0", 5)));
  EXPECT_TRUE(HasValue(machine.registry, kHkeyLocalMachine, kRunTwin, "Foo", kRegSz, Sz("foo.exe")));
}

TEST_F(CommitTest, ValueTypesSurviveMovesEditsAndRestores) {
  machine.PutString(kHkeyCurrentUser, kRun, "exp", "%windir%\\a.exe", kRegExpandSz);
  machine.registry.PutDword(kHkeyLocalMachine, kRunOnceEx, "Flags", 0x20);
  machine.registry.PutDword(kHkeyLocalMachine, kRunOnceEx, "Edited", 7);
  machine.registry.PutDword(kHkeyLocalMachine, kRunOnceEx, "Texted", 8);
  machine.registry.Put(kHkeyLocalMachine, kRunOnceEx, "bin", kRegBinary, "\x01\x02");
  machine.PutString(kHkeyCurrentUser, kRun, "plain", "p.exe");
  Load();
  Uncheck("exp");
  Edit("Edited", "9");
  Edit("Texted", "now text");
  Edit("bin", "772");  // 0x0304 still fits two bytes
  Edit("plain", "%ProgramFiles%\\p.exe");
  Confirm();
  const std::string cuRunTwin = std::string(kRun) + "-";
  EXPECT_TRUE(HasValue(machine.registry, kHkeyCurrentUser, cuRunTwin, "exp", kRegExpandSz, Sz("%windir%\\a.exe")));
  EXPECT_TRUE(HasValue(machine.registry, kHkeyLocalMachine, kRunOnceEx, "Flags", kRegDword, std::string("\x20\0\0\0", 4)));
  EXPECT_TRUE(HasValue(machine.registry, kHkeyLocalMachine, kRunOnceEx, "Edited", kRegDword, std::string("\x09\0\0\0", 4)));
  EXPECT_TRUE(HasValue(machine.registry, kHkeyLocalMachine, kRunOnceEx, "Texted", kRegSz, Sz("now text")));
  EXPECT_TRUE(HasValue(machine.registry, kHkeyLocalMachine, kRunOnceEx, "bin", kRegBinary, "\x04\x03"));
  // A value read as REG_SZ stays REG_SZ: it was never expanded before either.
  EXPECT_TRUE(HasValue(machine.registry, kHkeyCurrentUser, kRun, "plain", kRegSz, Sz("%ProgramFiles%\\p.exe")));
}

TEST_F(CommitTest, NewRowsHoldingAVariableReferenceAreWrittenExpandable) {
  machine.PutString(kHkeyCurrentUser, kRun, "x", "x.exe");
  Load();
  // A row the snapshot brings back that no scanned value matches.
  form->entries().ReplaceAll({{"new", true, "%SystemRoot%\\n.exe", "reg2"},
                              {"pct", true, "50% of 100%", "reg2"},
                              {"x", true, "x.exe", "reg2"}});
  Confirm();
  EXPECT_TRUE(HasValue(machine.registry, kHkeyCurrentUser, kRun, "new", kRegExpandSz, Sz("%SystemRoot%\\n.exe")));
  EXPECT_TRUE(HasValue(machine.registry, kHkeyCurrentUser, kRun, "pct", kRegSz, Sz("50% of 100%")));
  EXPECT_TRUE(HasValue(machine.registry, kHkeyCurrentUser, kRun, "x", kRegSz, Sz("x.exe")));
}

TEST_F(CommitTest, ConfirmingWithoutChangesLeavesEveryValueByteIdentical) {
  machine.PutString(kHkeyCurrentUser, kRun, "exp", "%windir%\\a.exe", kRegExpandSz);
  machine.registry.Put(kHkeyCurrentUser, kRun, "junk", kRegSz, std::string("a.exe\0old\0", 10));
  machine.registry.Put(kHkeyCurrentUser, kRun, "noNul", kRegSz, "b.exe");
  machine.registry.PutDword(kHkeyLocalMachine, kRunOnceEx, "Flags", 0xFFFFFFFFu);
  machine.registry.Put(kHkeyLocalMachine, kRunOnceEx, "bin3", kRegBinary, "\x01\x02\x03");
  machine.registry.Put(kHkeyLocalMachine, kRun, "multi", kRegMultiSz, std::string("a\0b\0\0", 5));
  machine.PutString(kHkeyLocalMachine, kRun, "long", std::string(300, 'l'));
  machine.PutString(kHkeyLocalMachine, kRunServicesTwin, G("中文"), G("中文.exe"));
  machine.profile.Put("windows", "load", "a.exe b.exe");
  Load();
  const std::string before = machine.Dump();
  Confirm();
  EXPECT_EQ(machine.Dump(), before);
}

TEST_F(CommitTest, ValuesNeverListedAreNeverTouched) {
  machine.PutString(kHkeyLocalMachine, kRun, "one", "1.exe");
  machine.registry.Put(kHkeyLocalMachine, kRun, "multi", kRegMultiSz, std::string("a\0b\0\0", 5));
  machine.registry.Put(kHkeyLocalMachine, kRun, "blob", kRegBinary, "12345678");
  machine.PutString(kHkeyLocalMachine, kRun, "two", "2.exe");
  Load();
  Delete("one");
  Delete("two");
  Confirm();
  EXPECT_EQ(Names(kHkeyLocalMachine, kRun), (std::vector<std::string>{"multi", "blob"}));
}

TEST_F(CommitTest, AValueThatCannotBeDeletedIsSteppedPast) {
  machine.PutString(kHkeyLocalMachine, kRun, "a", "a.exe");
  machine.PutString(kHkeyLocalMachine, kRun, "b", "b.exe");
  machine.PutString(kHkeyCurrentUser, kRun, "c", "c.exe");
  Load();
  machine.registry.DenyWrite(kHkeyLocalMachine, kRun, true);  // a user without rights to HKLM
  Delete("a");
  Delete("c");
  Uncheck("b");
  Confirm();
  EXPECT_EQ(Names(kHkeyLocalMachine, kRun), (std::vector<std::string>{"a", "b"}));
  EXPECT_TRUE(Names(kHkeyCurrentUser, kRun).empty());
  EXPECT_TRUE(HasValue(machine.registry, kHkeyLocalMachine, kRunTwin, "b", kRegSz, Sz("b.exe")));
}

TEST_F(CommitTest, AStartupFileThatCannotBeChangedStopsTheCommitWithAMessage) {
  machine.PutString(kHkeyCurrentUser, kRun, "r", "r.exe");
  machine.AddStartupFile("locked.lnk");
  machine.registry.PutDword(kHkeyCurrentUser, kExplorerPolicies, "NoRun", 1);
  Load();
  machine.files.Lock(machine.StartupPath("locked.lnk"), true);
  Delete("locked");
  Uncheck("r");
  Confirm();
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_NE(host.boxes[0].text.find(machine.StartupPath("locked.lnk")), std::string::npos);
  EXPECT_NE(host.boxes[0].text.find(G("无法删除")), std::string::npos);
  EXPECT_TRUE(machine.files.Exists(machine.StartupPath("locked.lnk")));
  EXPECT_TRUE(HasValue(machine.registry, kHkeyCurrentUser, std::string(kRun) + "-", "r", kRegSz, Sz("r.exe")));
  EXPECT_TRUE(machine.registry.HasValue(kHkeyCurrentUser, kExplorerPolicies, "NoRun"));  // the rest did not run
}

TEST_F(CommitTest, WithoutAStartupFolderPathNoFileIsTouched) {
  machine.files.AddFile("C:\\boot.ini", "x");
  machine.AddStartupFile("s.lnk");
  Load();
  machine.registry.RemoveKey(kHkeyCurrentUser, kShellFolders);
  Confirm();
  EXPECT_TRUE(machine.files.Exists("C:\\boot.ini"));
  EXPECT_TRUE(machine.files.Exists(machine.StartupPath("s.lnk")));
}

TEST_F(CommitTest, SwitchesAndStartPageAreWrittenAndShellRestrictionsLifted) {
  machine.registry.PutDword(kHkeyCurrentUser, kSystemPolicies, "Disableregistrytools", 1);
  machine.registry.PutDword(kHkeyCurrentUser, kExplorerPolicies, "NoRun", 1);
  machine.registry.PutDword(kHkeyCurrentUser, kExplorerPolicies, "NoClose", 1);
  machine.PutString(kHkeyCurrentUser, kBrowserMain, "Start Page", "http://old/");
  Load();
  form->Checkregedit.SetValue(0);
  form->Checkhomepage.SetValue(1);
  form->Text1.SetText("");
  Confirm();
  EXPECT_FALSE(machine.registry.HasValue(kHkeyCurrentUser, kSystemPolicies, "Disableregistrytools"));
  EXPECT_TRUE(HasValue(machine.registry, kHkeyCurrentUser, kControlPanel, "HomePage", kRegDword, std::string("\1\0\0\0", 4)));
  for (RegKey root : {kHkeyCurrentUser, kHkeyLocalMachine})
    EXPECT_TRUE(HasValue(machine.registry, root, kBrowserMain, "start page", kRegSz, Sz("about:blank")));
  EXPECT_FALSE(machine.registry.HasValue(kHkeyCurrentUser, kExplorerPolicies, "NoRun"));
  EXPECT_FALSE(machine.registry.HasValue(kHkeyCurrentUser, kExplorerPolicies, "NoClose"));
}

TEST_F(CommitTest, ChineseStartPageIsStoredInTheAnsiCodePage) {
  Load();
  form->Text1.SetText(G("http://例子.中国/"));
  Confirm();
  EXPECT_TRUE(HasValue(machine.registry, kHkeyCurrentUser, kBrowserMain, "start page", kRegSz, Sz(G("http://例子.中国/"))));
}

}  // namespace
}  // namespace qel::test
