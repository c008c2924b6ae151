// The Winlogon editor and the help window on a memory machine.
#include <gtest/gtest.h>

#include "app/web_site.h"
#include "help/form3.h"
#include "support/recording_host.h"
#include "support/startup_machine.h"
#include "winlogon/form4.h"

namespace qel::test {
namespace {

constexpr char kUserinit[] = "C:\\WINNT\\system32\\userinit.exe,";

// Refuses every write of "shell", to stop a confirm between its two writes.
class ShellRefused : public mem::MemoryRegistry {
  Status SetValue(RegKey key, const std::string& name, std::uint32_t type, const void* data,
                  std::uint32_t size) override {
    return name == "shell" ? kAccessDenied : MemoryRegistry::SetValue(key, name, type, data, size);
  }
};

class Form4Test : public ::testing::Test {
 protected:
  void SetUp() override {
    machine.PutString(kHkeyLocalMachine, kWinlogonKey, "Userinit", kUserinit);
    machine.PutString(kHkeyLocalMachine, kWinlogonKey, "Shell", "Explorer.exe");
    form.Form_Load();
  }
  // Enabled: Text1, Text2, 修改, 确认.
  std::string State() const {
    const ui::Control* controls[] = {&form.Text1, &form.Text2, &form.Command9, &form.Command1};
    std::string s;
    for (const ui::Control* c : controls) s += c->enabled() ? '1' : '0';
    return s;
  }
  void Confirm(const std::string& userinit, const std::string& shell) {
    form.Command9_Click();
    form.Text1.SetText(userinit);
    form.Text2.SetText(shell);
    form.Command1_Click();
  }
  ::testing::AssertionResult Holds(const char* name, const std::string& text,
                                   std::uint32_t type = kRegSz) {
    return HasValue(machine.registry, kHkeyLocalMachine, kWinlogonKey, name, type, Sz(text));
  }
  bool Unchanged() { return Holds("Userinit", kUserinit) && Holds("shell", "Explorer.exe"); }

  StartupMachine machine;
  RecordingHost host;
  Form4 form{machine.platform, host};
};

TEST_F(Form4Test, ViewingEditingWrittenAndReopeningReadsAfresh) {
  EXPECT_EQ(form.Text1.text(), kUserinit);
  EXPECT_EQ(State(), "0010");
  form.Command9_Click();
  EXPECT_EQ(State(), "1101");
  form.Text2.SetText("s.exe");
  form.Command1_Click();
  EXPECT_EQ(State(), "0000");
  machine.PutString(kHkeyLocalMachine, kWinlogonKey, "shell", "other.exe");
  form.Form_Load();
  EXPECT_EQ(form.Text2.text(), "other.exe");
  EXPECT_EQ(State(), "0010");
}

TEST(Form4Load, MissingKeyOnlyUserinitAndALongValue) {
  const std::string longShell = "C:\\" + std::string(2048, 's') + ".exe";
  for (int seeded = 0; seeded < 3; ++seeded) {
    StartupMachine machine;
    RecordingHost host;
    if (seeded > 0) machine.PutString(kHkeyLocalMachine, kWinlogonKey, "Userinit", kUserinit);
    if (seeded > 1) machine.PutString(kHkeyLocalMachine, kWinlogonKey, "shell", longShell);
    Form4 form(machine.platform, host);
    form.Form_Load();
    EXPECT_EQ(form.Text1.text(), seeded > 0 ? kUserinit : "") << seeded;
    EXPECT_EQ(form.Text2.text(), seeded > 1 ? longShell : "") << seeded;
  }
}

TEST_F(Form4Test, ConfirmWritesAsTypedAndKeepsAnExpandableValueExpandable) {
  machine.PutString(kHkeyLocalMachine, kWinlogonKey, "Userinit", "%SystemRoot%\\u.exe,", kRegExpandSz);
  Confirm(" %SystemRoot%\\u.exe, x.exe ", G("新外壳.exe"));
  EXPECT_TRUE(Holds("Userinit", " %SystemRoot%\\u.exe, x.exe ", kRegExpandSz));
  EXPECT_TRUE(Holds("shell", G("新外壳.exe")));
  EXPECT_TRUE(host.boxes.empty());
}

TEST_F(Form4Test, ABlankValueIsRefusedNamingItAndNothingIsWritten) {
  const struct { const char *userinit, *shell, *named; } cases[] = {
      {"", "x.exe", "Userinit"}, {" \t ", "x.exe", "Userinit"}, {"a.exe,", "", "shell"},
      {"a.exe,", "  ", "shell"}};
  for (const auto& c : cases) {
    host.boxes.clear();
    form.Form_Load();
    Confirm(c.userinit, c.shell);
    ASSERT_EQ(host.boxes.size(), 1u) << c.named;
    EXPECT_EQ(host.boxes[0].text.rfind(std::string(c.named) + " ", 0), 0u) << host.boxes[0].text;
    EXPECT_TRUE(Unchanged()) << c.named;
    EXPECT_EQ(State(), "1101") << c.named;
  }
}

TEST_F(Form4Test, AFailedWriteIsReportedAndEditingGoesOn) {
  machine.registry.DenyWrite(kHkeyLocalMachine, kWinlogonKey, true);
  Confirm("u.exe,", "s.exe");
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_NE(host.boxes[0].text.find(G("写入 Userinit 失败：拒绝访问")), std::string::npos);
  EXPECT_TRUE(Unchanged());
  EXPECT_EQ(State(), "1101");

  ShellRefused registry;
  Platform platform{registry, machine.profile, machine.files, machine.platform.system};
  Form4 partial(platform, host);
  partial.Command9_Click();
  partial.Text1.SetText("u.exe,");
  partial.Text2.SetText("s.exe");
  partial.Command1_Click();
  ASSERT_EQ(host.boxes.size(), 2u);
  EXPECT_NE(host.boxes[1].text.find(G("Userinit 已经写入，shell 没有写入")), std::string::npos);
  EXPECT_TRUE(partial.Command1.enabled());
}

TEST(Form3Help, TextLinesJoinedByCrLfAndTheProductKeyLineReadAfresh) {
  StartupMachine machine;
  RecordingHost host;
  Form3 form(machine.platform, host);
  const std::string text = HelpText(machine.platform.system);
  std::vector<std::string> lines;
  for (size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
    lines.push_back(text.substr(at, end - at));
  ASSERT_EQ(lines.size(), 24u);
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
  EXPECT_EQ(lines[0] + "|" + lines[1] + "|" + lines[7], G("|本程序可以让你：|    "));
  EXPECT_EQ(lines[23], WebSiteAddress(machine.platform.system));

  form.Form_Load();
  EXPECT_EQ(form.Label1.text(), G("Windows ProductKey：\r"));
  form.Text1.SetText("typed");
  machine.PutString(kHkeyLocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion", "ProductKey",
                    "ABCDE-12345");
  form.Form_Load();
  EXPECT_EQ(form.Text1.text(), text);
  EXPECT_EQ(form.Label1.text(), G("Windows ProductKey：\rABCDE-12345"));
}

}  // namespace
}  // namespace qel::test
