// What the scan lists, in what order, with which marks and tags, where a
// selected row says it comes from, and what the registry layer reads back,
// byte for byte.
#include "support/window_fixture.h"

namespace qel::test {
namespace {

using ScannerTest = Form1Test;

TEST_F(ScannerTest, ListsEverySourceInOrderWithTwinsUncheckedEveryValueThatReadsAsTextAndShowsItsPlace) {
  machine.registry.PutString(kHkeyCurrentUser, kRun, "cu", "cu.exe");
  machine.registry.PutString(kHkeyLocalMachine, kRunTwin, "Foo", "off.exe");
  machine.registry.PutString(kHkeyLocalMachine, kRun, "Foo", "on.exe");
  machine.registry.PutString(kHkeyLocalMachine, kRun, "trojan", std::string(5000, 'x'));  // whatever its length
  machine.registry.PutString(kHkeyLocalMachine, kRun, std::string(300, 'N'), "long-name.exe");
  machine.registry.PutString(kHkeyLocalMachine, kRun, std::string(16384, 'N'), "x.exe");  // unreadable: skipped
  machine.registry.Put(kHkeyLocalMachine, kRun, "multi", kRegMultiSz, std::string("a\0b\0\0", 5));
  machine.registry.Put(kHkeyLocalMachine, kRun, "blob", kRegBinary, "12345");
  machine.registry.Put(kHkeyLocalMachine, kRun, "small", kRegBinary, "\x05");
  machine.registry.PutString(kHkeyLocalMachine, kRunServicesTwin, "svc", "svc.exe");
  machine.registry.PutString(kHkeyCurrentUser, kRunOnce, "", "default.exe");
  machine.registry.PutDword(kHkeyCurrentUser, kRunOnceEx, "Neg", 0xFFFFFFFFu);
  // Plain and hidden files are listed; system files and folders are not.
  machine.AddStartupFile("readonly.lnk", kAttrReadOnly);
  machine.AddStartupFile("desktop.ini", kAttrSystem | kAttrHidden);
  machine.files.AddFolder(machine.StartupPath("sub"));
  machine.AddStartupFile(G("输入法.exe.lnk"), kAttrHidden);
  machine.profile.Put("windows", "norun", "c.exe");
  machine.profile.Put("windows", "run", "   ");  // blank: no row
  machine.profile.Put("windows", "load", std::string(400, 'z'));
  machine.profile.Put("windows", "noload", "(error)");  // any text is content
  Load();
  const std::string z(400, 'z');
  EXPECT_EQ(AllRows(), "Foo|on.exe|reg|1\ntrojan|" + std::string(5000, 'x') + "|reg|1\n" +
                           std::string(300, 'N') + "|long-name.exe|reg|1\nsmall|5|reg|1\n"
                           "Foo|off.exe|reg|0\nsvc|svc.exe|regs|0\ncu|cu.exe|reg2|1\n"
                           "|default.exe|HKCUrunonce|1\nNeg|-1|HKCURunOnceEx|1\n"
                           "readonly|" + machine.StartupPath("readonly.lnk") + "|startup|1\n" +
                           G("输入法.exe|") + machine.StartupPath(G("输入法.exe.lnk")) + "|startup|0\n" +
                           z + "|" + z + "|load|1\n(error)|(error)|load|0\nc.exe|c.exe|run|0\n");
  Click(RowOf("readonly"));  // a file's path is never edited
  EXPECT_FALSE(form->Text2.enabled());
}

// The registry layer: what reads give back, byte for byte.
constexpr char kKey[] = "Software\\Qelmora\\Test";

// A registry where the value "grows" gets longer before every query of it, and
// "settles" before its first two only.
struct GrowingRegistry : mem::MemoryRegistry {
  Status QueryValue(RegKey key, const std::string& name, std::uint32_t* type, void* data, std::uint32_t* size) override {
    if (name == "grows" || (name == "settles" && settles.size() < 2))
      PutString(kHkeyCurrentUser, kKey, name, (name == "grows" ? grows : settles) += 'x');
    return MemoryRegistry::QueryValue(key, name, type, data, size);
  }
  std::string grows, settles;
};

TEST(Module1Test, ReadsGiveTheTextOrIntegerOrLeaveTheDataAloneAndNamesFoldAsciiOnly) {
  GrowingRegistry r;
  r.PutString(kHkeyCurrentUser, kKey, "huge", std::string(70000, 'y'), kRegExpandSz);
  r.PutString(kHkeyCurrentUser, kKey, "path", "%SystemRoot%\\a.exe", kRegExpandSz);
  r.Put(kHkeyCurrentUser, kKey, "short", kRegBinary, "\xFF\xFF");
  r.Put(kHkeyCurrentUser, kKey, "blob", kRegBinary, "12345");
  r.Put(kHkeyCurrentUser, kKey, "multi", kRegMultiSz, std::string("a\0b\0\0", 5));
  const struct { const char* name; std::string text; Status status; } cases[] = {
      {"huge", std::string(70000, 'y'), kOk}, {"path", "%SystemRoot%\\a.exe", kOk}, {"short", "65535", kOk},
      {"blob", "untouched", kMoreData}, {"multi", "untouched", kOk}, {"missing", "untouched", kFileNotFound},
      {"settles", "xx", kOk}, {"grows", "untouched", kMoreData}};  // never zeros passed off as its text
  Module1 registry(r);
  for (const auto& c : cases) {
    RegValue value = RegValue::FromText("untouched");
    EXPECT_EQ(registry.ReadRegValue(kHkeyCurrentUser, kKey, c.name, &value), c.status) << c.name;
    EXPECT_EQ(value.TextForm(), c.text) << c.name;
  }
  // Names match as Windows matches them: ASCII letters only, never a trail byte (0x81 0x41: one GBK character).
  EXPECT_EQ(FoldValueName("RunMe\x81\x41Z"), "runme\x81\x41z");
}

}  // namespace
}  // namespace qel::test
