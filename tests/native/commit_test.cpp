// The confirm button: the machine ends up matching the lists, keeps value
// types, leaves alone what was never listed, and says what it could not do.
#include <gtest/gtest.h>

#include "support/form1_fixture.h"

namespace qel::test {
namespace {

class CommitTest : public Form1Test {
 protected:
  void Confirm() { form->Command2_Click(); ASSERT_TRUE(host.ended); }
  void Toggle(const std::string& name) { form->List1.SetSelected(RowOf(name), !form->List1.Selected(RowOf(name))); }
  void Delete(const std::string& name) { Click(RowOf(name)); form->Command1_Click(); }
  void Edit(const std::string& name, const std::string& text) { Click(RowOf(name)); form->Text2.SetText(text); }
  std::uint32_t Attributes(const std::string& file) {
    return machine.files.Attributes(machine.StartupPath(file)) & ~(kAttrArchive | kAttrNormal);  // Wine adds archive
  }
};

// Every managed value and Win.ini key after the confirm, one a line: key|name|type|bytes,
// with the keys' common folder left out and bytes other than printable ASCII as <n>.
std::string Places(const StartupMachine& m) {
  const std::string folder = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\";
  std::string out, dump = m.Dump();
  for (std::size_t at; (at = dump.find(folder)) != dump.npos;) dump.erase(at, folder.size());
  for (unsigned char c : dump)
    out += (c < ' ' && c != '\n') || c > '~' ? "<" + std::to_string(c) + ">" : std::string(1, c);
  return out;
}

TEST_F(CommitTest, RowsMoveTradePlacesAndAreEditedOrDeletedWhileAllElseStays) {
  machine.PutString(kHkeyLocalMachine, kRun, "Foo", "on.exe");
  machine.PutString(kHkeyLocalMachine, kRunTwin, "Foo", "off.exe", kRegExpandSz);
  machine.registry.PutDword(kHkeyLocalMachine, kRunOnceEx, "Edited", 7);
  machine.registry.PutDword(kHkeyLocalMachine, kRunOnceEx, "Texted", 8);
  machine.registry.Put(kHkeyLocalMachine, kRunOnceEx, "bin", kRegBinary, "\x01\x02");
  machine.PutString(kHkeyLocalMachine, kRunServicesTwin, "u-" + G("中"), std::string(300, 'l'));
  machine.PutString(kHkeyCurrentUser, kRun, "gone", "gone.exe");
  machine.registry.Put(kHkeyCurrentUser, kRun, "multi", kRegMultiSz, std::string("a\0b\0\0", 5));
  machine.registry.Put(kHkeyCurrentUser, kRun, "blob", kRegBinary, "12345678");
  machine.PutString(kHkeyCurrentUser, kRun, "exp", "%windir%\\a.exe", kRegExpandSz);
  machine.PutString(kHkeyCurrentUser, kRun, "plain", "p.exe");
  machine.registry.Put(kHkeyCurrentUser, kRunOnce, "u-junk", kRegSz, std::string("a.exe\0old\0", 10));
  machine.registry.Put(kHkeyCurrentUser, kRunOnce, "u-noNul", kRegSz, "b.exe");
  machine.registry.PutDword(kHkeyCurrentUser, kRunOnce, "u-flags", 0xFFFFFFFFu);
  machine.registry.Put(kHkeyCurrentUser, kRunOnce, "u-bin3", kRegBinary, "\x01\x02\x03");
  machine.profile.Put("windows", "load", "l.exe");
  machine.profile.Put("windows", "noload", "n.exe");
  machine.profile.Put("windows", "run", "r.exe");
  machine.AddStartupFile("gone.lnk");
  machine.AddStartupFile("ro.lnk", kAttrReadOnly | kAttrHidden);
  machine.AddStartupFile("desktop.ini", kAttrSystem | kAttrHidden);
  machine.AddStartupFile("a.lnk", kAttrHidden | kAttrReadOnly);
  machine.AddStartupFile("b.lnk", kAttrReadOnly);
  machine.AddStartupFile("b.exe");  // both follow the last row "b"
  Load();
  for (int i = 0; i < form->List1.ListCount(); ++i)  // both Foo trade places, as do load and noload
    if (std::string("|Foo|exp|l.exe|n.exe|a|b|").find("|" + form->List1.List(i) + "|") != std::string::npos)
      form->List1.SetSelected(i, !form->List1.Selected(i));
  for (const char* name : {"gone", "r.exe", "gone", "ro"}) Delete(name);
  Edit("Edited", "9");
  Edit("Texted", "now text");
  Edit("bin", "772");  // 0x0304 still fits two bytes
  Edit("plain", "%ProgramFiles%\\p.exe");  // read as REG_SZ, so never expanded: stays REG_SZ
  machine.AddStartupFile("unseen.lnk");  // arrived after the scan: the user never saw it
  Confirm();
  EXPECT_EQ(Places(machine), "Run|Foo|2|off.exe<0>\nRun-|Foo|1|on.exe<0>\nRun|multi|7|a<0>b<0><0>\nRun|blob|3|12345678\n"
                             "Run|plain|1|%ProgramFiles%\\p.exe<0>\nRun-|exp|2|%windir%\\a.exe<0>\n"
                             "runServices-|u-<214><208>|1|" + std::string(300, 'l') + "<0>\n"
                             "runOnce|u-junk|1|a.exe<0>old<0>\nrunOnce|u-noNul|1|b.exe\n"
                             "runOnce|u-flags|4|<255><255><255><255>\nrunOnce|u-bin3|3|<1><2><3>\n"
                             "RunOnceEx|Edited|4|<9><0><0><0>\nRunOnceEx|Texted|1|now text<0>\n"
                             "RunOnceEx|bin|3|<4><3>\nini|load|n.exe\nini|noload|l.exe\n");
  EXPECT_EQ(Attributes("a.lnk") + Attributes("b.lnk") + Attributes("b.exe"), 2 * kAttrHidden);
  EXPECT_FALSE(machine.files.Exists(machine.StartupPath("gone.lnk")) || machine.files.Exists(machine.StartupPath("ro.lnk")));
  EXPECT_TRUE(machine.files.Exists(machine.StartupPath("desktop.ini")) && machine.files.Exists(machine.StartupPath("unseen.lnk")));
}

TEST_F(CommitTest, WhatCouldNotBeDoneStaysAndIsListedInOneMessage) {
  machine.PutString(kHkeyLocalMachine, kRun, "moved", "m.exe");
  machine.PutString(kHkeyLocalMachine, kRun, "deleted", "d.exe");
  machine.registry.Put(kHkeyCurrentUser, kRun, "Held", kRegMultiSz, std::string("a\0\0", 3));
  machine.PutString(kHkeyCurrentUser, kRunTwin, "Held", "h.exe");
  machine.PutString(kHkeyCurrentUser, kRun, "ok", "ok.exe");
  machine.profile.Put("windows", "load", "l.exe");
  machine.profile.Put("windows", "noload", "n.exe");
  machine.AddStartupFile("locked.lnk");
  machine.registry.PutDword(kHkeyCurrentUser, kExplorerPolicies, "NoRun", 1);
  Load();
  machine.registry.DenyWrite(kHkeyLocalMachine, kRun, true);  // a limited user
  machine.registry.DenyWrite(kHkeyLocalMachine, kRunTwin, true);
  machine.registry.DenyWrite(kHkeyCurrentUser, kRunTwin, true);  // no spare copy for the swap
  machine.files.Lock(machine.StartupPath("locked.lnk"), true);
  for (const char* name : {"moved", "Held", "ok", "l.exe", "n.exe"}) Toggle(name);
  Delete("deleted");
  Delete("locked");
  Confirm();
  EXPECT_EQ(Places(machine), "Run|moved|1|m.exe<0>\nRun|deleted|1|d.exe<0>\nRun|Held|7|a<0><0>\nRun|ok|1|ok.exe<0>\n"
                             "Run-|Held|1|h.exe<0>\nini|load|l.exe\nini|noload|n.exe\n");
  EXPECT_TRUE(machine.files.Exists(machine.StartupPath("locked.lnk")));
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
  EXPECT_EQ(Places(machine), "Run|??|0|\nRun-|plain|1|p.exe<0>\n");  // the true one alone, no "?x"
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
