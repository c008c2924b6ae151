// The confirm button: the machine ends up matching the lists, keeps value
// types, leaves alone what was never listed, and says what it could not do.
#include <gtest/gtest.h>

#include "support/form1_fixture.h"

namespace qel::test {
namespace {

const std::string kCuRunTwin = std::string(kRun) + "-";

class CommitTest : public Form1Test {
 protected:
  void Confirm() { form->Command2_Click(); ASSERT_TRUE(host.ended); }
  void Toggle(const std::string& name) { form->List1.SetSelected(RowOf(name), !form->List1.Selected(RowOf(name))); }
  void Delete(const std::string& name) { Click(RowOf(name)); form->Command1_Click(); }
  void Edit(const std::string& name, const std::string& text) { Click(RowOf(name)); form->Text2.SetText(text); }
  std::vector<std::string> Names(RegKey root, const std::string& key) { return machine.registry.ValueNames(root, key); }
  std::string Ini(const char* key) {
    std::string text = "(missing)";
    machine.profile.Get("windows", key, &text);
    return text;
  }
  std::uint32_t Attributes(const std::string& file) {
    return machine.files.Attributes(machine.StartupPath(file)) & ~(kAttrArchive | kAttrNormal);  // Wine adds archive
  }
};

TEST_F(CommitTest, DeletedRowsLeaveEveryPlaceAndWhatWasNeverListedStays) {
  machine.PutString(kHkeyCurrentUser, kRun, "gone", "gone.exe");
  machine.registry.Put(kHkeyCurrentUser, kRun, "multi", kRegMultiSz, std::string("a\0b\0\0", 5));
  machine.registry.Put(kHkeyCurrentUser, kRun, "blob", kRegBinary, "12345678");
  machine.PutString(kHkeyCurrentUser, kRun, "kept", "kept.exe");
  machine.profile.Put("windows", "run", "r.exe");
  machine.profile.Put("windows", "noload", "n.exe");
  machine.AddStartupFile("plain.lnk");
  machine.AddStartupFile("ro.lnk", kAttrReadOnly | kAttrHidden);
  machine.AddStartupFile("desktop.ini", kAttrSystem | kAttrHidden);
  Load();
  for (const char* name : {"gone", "r.exe", "n.exe", "plain", "ro"}) Delete(name);
  machine.AddStartupFile("unseen.lnk");  // arrived after the scan: the user never saw it
  Confirm();
  EXPECT_EQ(Names(kHkeyCurrentUser, kRun), (std::vector<std::string>{"multi", "blob", "kept"}));
  EXPECT_EQ(Ini("run") + Ini("noload"), "(missing)(missing)");
  EXPECT_FALSE(machine.files.Exists(machine.StartupPath("plain.lnk")));
  EXPECT_FALSE(machine.files.Exists(machine.StartupPath("ro.lnk")));  // read-only is cleared first
  EXPECT_TRUE(machine.files.Exists(machine.StartupPath("desktop.ini")));
  EXPECT_TRUE(machine.files.Exists(machine.StartupPath("unseen.lnk")));
}

TEST_F(CommitTest, MarksMoveEntriesAndRowsThatTradePlacesLeaveNoSpare) {
  machine.PutString(kHkeyLocalMachine, kRun, "Foo", "on.exe");
  machine.PutString(kHkeyLocalMachine, kRunTwin, "Foo", "off.exe", kRegExpandSz);
  machine.profile.Put("windows", "load", "l.exe");
  machine.profile.Put("windows", "noload", "n.exe");
  machine.profile.Put("windows", "run", "r.exe");
  machine.AddStartupFile("a.lnk", kAttrHidden | kAttrReadOnly);
  machine.AddStartupFile("b.lnk", kAttrReadOnly);
  machine.AddStartupFile("b.exe");  // both follow the last row "b"
  Load();
  for (int i = 0; i < form->List1.ListCount(); ++i) form->List1.SetSelected(i, !form->List1.Selected(i));
  Confirm();
  EXPECT_TRUE(HasValue(machine.registry, kHkeyLocalMachine, kRun, "Foo", kRegExpandSz, Sz("off.exe")));
  EXPECT_TRUE(HasValue(machine.registry, kHkeyLocalMachine, kRunTwin, "Foo", kRegSz, Sz("on.exe")));
  EXPECT_EQ(Names(kHkeyLocalMachine, kRunTwin).size() + Names(kHkeyCurrentUser, kCuRunTwin).size(), 1u);
  EXPECT_EQ(Ini("load") + "|" + Ini("noload") + "|" + Ini("run") + "|" + Ini("norun"), "n.exe|l.exe|(missing)|r.exe");
  EXPECT_EQ(Attributes("a.lnk"), 0u);
  EXPECT_EQ(Attributes("b.lnk") + Attributes("b.exe"), 2 * kAttrHidden);
}

TEST_F(CommitTest, TypesSurviveMovesAndEditsAndNothingChangedIsRewritten) {
  machine.PutString(kHkeyCurrentUser, kRun, "exp", "%windir%\\a.exe", kRegExpandSz);
  machine.registry.PutDword(kHkeyLocalMachine, kRunOnceEx, "Edited", 7);
  machine.registry.PutDword(kHkeyLocalMachine, kRunOnceEx, "Texted", 8);
  machine.registry.Put(kHkeyLocalMachine, kRunOnceEx, "bin", kRegBinary, "\x01\x02");
  machine.PutString(kHkeyCurrentUser, kRun, "plain", "p.exe");
  machine.registry.Put(kHkeyCurrentUser, kRunOnce, "u-junk", kRegSz, std::string("a.exe\0old\0", 10));
  machine.registry.Put(kHkeyCurrentUser, kRunOnce, "u-noNul", kRegSz, "b.exe");
  machine.registry.PutDword(kHkeyCurrentUser, kRunOnce, "u-flags", 0xFFFFFFFFu);
  machine.registry.Put(kHkeyCurrentUser, kRunOnce, "u-bin3", kRegBinary, "\x01\x02\x03");
  machine.PutString(kHkeyLocalMachine, kRunServicesTwin, "u-" + G("中文"), std::string(300, 'l'));
  Load();
  Toggle("exp");
  Edit("Edited", "9");
  Edit("Texted", "now text");
  Edit("bin", "772");  // 0x0304 still fits two bytes
  Edit("plain", "%ProgramFiles%\\p.exe");
  // The values no row changed, as one text.
  auto unchanged = [&] {
    std::string out, dump = machine.Dump();
    for (std::size_t at = 0, end; (end = dump.find('\n', at)) != std::string::npos; at = end + 1)
      if (dump.find("|u-", at) < end) out += dump.substr(at, end + 1 - at);
    return out;
  };
  const std::string before = unchanged();
  Confirm();
  EXPECT_TRUE(HasValue(machine.registry, kHkeyCurrentUser, kCuRunTwin, "exp", kRegExpandSz, Sz("%windir%\\a.exe")));
  EXPECT_TRUE(HasValue(machine.registry, kHkeyLocalMachine, kRunOnceEx, "Edited", kRegDword, std::string("\x09\0\0\0", 4)));
  EXPECT_TRUE(HasValue(machine.registry, kHkeyLocalMachine, kRunOnceEx, "Texted", kRegSz, Sz("now text")));
  EXPECT_TRUE(HasValue(machine.registry, kHkeyLocalMachine, kRunOnceEx, "bin", kRegBinary, "\x04\x03"));
  // A value read as REG_SZ stays REG_SZ: it was never expanded before either.
  EXPECT_TRUE(HasValue(machine.registry, kHkeyCurrentUser, kRun, "plain", kRegSz, Sz("%ProgramFiles%\\p.exe")));
  EXPECT_EQ(unchanged(), before);
}

TEST_F(CommitTest, WhatCouldNotBeDoneStaysAndIsListedInOneMessage) {
  machine.PutString(kHkeyLocalMachine, kRun, "moved", "m.exe");
  machine.PutString(kHkeyLocalMachine, kRun, "deleted", "d.exe");
  machine.registry.Put(kHkeyCurrentUser, kRun, "Held", kRegMultiSz, std::string("a\0\0", 3));
  machine.PutString(kHkeyCurrentUser, kCuRunTwin, "Held", "h.exe");
  machine.PutString(kHkeyCurrentUser, kRun, "ok", "ok.exe");
  machine.profile.Put("windows", "load", "l.exe");
  machine.profile.Put("windows", "noload", "n.exe");
  machine.AddStartupFile("locked.lnk");
  machine.registry.PutDword(kHkeyCurrentUser, kExplorerPolicies, "NoRun", 1);
  Load();
  machine.registry.DenyWrite(kHkeyLocalMachine, kRun, true);  // a limited user
  machine.registry.DenyWrite(kHkeyLocalMachine, kRunTwin, true);
  machine.registry.DenyWrite(kHkeyCurrentUser, kCuRunTwin, true);  // no spare copy for the swap
  machine.files.Lock(machine.StartupPath("locked.lnk"), true);
  for (const char* name : {"moved", "Held", "ok", "l.exe", "n.exe"}) Toggle(name);
  Delete("deleted");
  Delete("locked");
  Confirm();
  EXPECT_EQ(Names(kHkeyLocalMachine, kRun), (std::vector<std::string>{"moved", "deleted"}));
  EXPECT_TRUE(HasValue(machine.registry, kHkeyCurrentUser, kCuRunTwin, "Held", kRegSz, Sz("h.exe")));
  EXPECT_EQ(Ini("load") + "|" + Ini("noload"), "l.exe|n.exe");
  EXPECT_TRUE(machine.files.Exists(machine.StartupPath("locked.lnk")));
  EXPECT_EQ(Names(kHkeyCurrentUser, kCuRunTwin), std::vector<std::string>{"Held"});  // ok: refused too
  EXPECT_FALSE(machine.registry.HasValue(kHkeyCurrentUser, kExplorerPolicies, "NoRun"));  // the rest ran
  ASSERT_EQ(host.boxes.size(), 1u);
  const std::string& text = host.boxes[0].text;
  for (const std::string& part : {G("moved（HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run-）：无法写入：拒绝访问（错误 5）"),
                                  G("deleted（HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run）：无法删除"),
                                  G("Held（"), G("不能显示"), G("l.exe（Win.ini文件的noload项）：交换位置前无法保存备份"),
                                  G("n.exe（"), G("ok（"), machine.StartupPath("locked.lnk")})
    EXPECT_NE(text.find(part), std::string::npos) << part;
}

TEST_F(CommitTest, NamesTheCodePageCannotHoldAreNeverTouchedNorCreated) {
  machine.PutString(kHkeyCurrentUser, kRun, "??", "k.exe");
  machine.registry.MakeNameUnrepresentable(kHkeyCurrentUser, kRun, "??");
  machine.PutString(kHkeyCurrentUser, kRun, "plain", "p.exe");
  machine.AddStartupFile("??.lnk", kAttrHidden);
  Load();
  const std::string listed = "??|k.exe|reg2|1\nplain|p.exe|reg2|1\n??|" + machine.StartupPath("??.lnk") + "|startup|0\n";
  ASSERT_EQ(AllRows(), listed);
  for (int row : {0, 2}) {  // each refusal says why; the location text says so too
    Click(row);
    EXPECT_NE(form->text2text.text().find(G("不能更改")), std::string::npos);
    EXPECT_FALSE(form->Text2.enabled());
    form->List1.SetSelected(row, !form->List1.Selected(row));  // the user toggles the mark
    form->List1_Click();
    form->Command1_Click();
  }
  EXPECT_EQ(AllRows() + std::to_string(host.boxes.size()), listed + "4");
  form->entries().ReplaceAll({{"??", true, "k.exe", "reg2"}, {"?x", true, "x.exe", "reg2"},
                              {"plain", false, "p.exe", "reg2"}, {"??", true, "whatever", "startup"}});
  Confirm();
  EXPECT_EQ(Names(kHkeyCurrentUser, kRun), std::vector<std::string>{"??"});  // the true one, alone
  EXPECT_EQ(Names(kHkeyCurrentUser, kCuRunTwin), std::vector<std::string>{"plain"});
  std::vector<FileEntry> files;
  machine.files.ListFolder(kStartupFolder, &files);
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0].attributes & kAttrHidden, kAttrHidden);
  EXPECT_NE(LastMessage().find("?x"), std::string::npos);
}

TEST_F(CommitTest, SwitchesAndStartPageAreWrittenUnlessThePageCannotBeRead) {
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
  EXPECT_EQ(machine.registry.ValueNames(kHkeyCurrentUser, kExplorerPolicies).size(), 0u);
  // A page that is there but cannot be read is kept, unless the user typed one.
  for (const char* typed : {"", "http://new/"}) {
    machine.registry.Put(kHkeyCurrentUser, kBrowserMain, "Start Page", kRegBinary, "12345678");
    Load();
    form->Text1.SetText(typed);
    Confirm();
    EXPECT_TRUE(*typed ? HasValue(machine.registry, kHkeyCurrentUser, kBrowserMain, "start page", kRegSz, Sz(typed))
                       : HasValue(machine.registry, kHkeyCurrentUser, kBrowserMain, "start page", kRegBinary, "12345678"));
  }
}

TEST_F(CommitTest, WithoutAStartupFolderPathNoFileIsTouched) {
  machine.files.AddFile("C:\\boot.ini", "x");
  machine.AddStartupFile("s.lnk");
  Load();
  machine.registry.RemoveKey(kHkeyCurrentUser, kShellFolders);
  Confirm();
  EXPECT_TRUE(machine.files.Exists("C:\\boot.ini") && machine.files.Exists(machine.StartupPath("s.lnk")));
}

}  // namespace
}  // namespace qel::test
