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
struct ShellRefused : mem::MemoryRegistry {
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
  std::string State(const Form4& f) const {
    std::string s;
    for (const ui::Control* c : {&f.Text1, &f.Text2}) s += c->enabled() ? '1' : '0';
    return s + (f.Command9.enabled() ? '1' : '0') + (f.Command1.enabled() ? '1' : '0');
  }
  void Confirm(Form4& f, const std::string& userinit, const std::string& shell) {
    f.Command9_Click();
    f.Text1.SetText(userinit);
    f.Text2.SetText(shell);
    f.Command1_Click();
  }
  bool Holds(const char* name, const std::string& text, std::uint32_t type = kRegSz) {
    return HasValue(machine.registry, kHkeyLocalMachine, kWinlogonKey, name, type, Sz(text));
  }
  bool Unchanged() { return Holds("Userinit", kUserinit) && Holds("shell", "Explorer.exe"); }

  StartupMachine machine;
  RecordingHost host;
  Form4 form{machine.platform, host};
};

TEST_F(Form4Test, ViewingEditingWrittenAndReopeningReadsAfresh) {
  EXPECT_EQ(form.Text1.text() + "|" + State(form), std::string(kUserinit) + "|0010");
  form.Command9_Click();
  EXPECT_EQ(State(form), "1101");
  form.Command1_Click();
  EXPECT_EQ(State(form), "0000");
  machine.registry.RemoveKey(kHkeyLocalMachine, kWinlogonKey);
  machine.PutString(kHkeyLocalMachine, kWinlogonKey, "Userinit", std::string(2048, 'u'));
  form.Form_Load();  // a 2 KB Userinit and no shell at all
  EXPECT_EQ(form.Text1.text() + "|" + form.Text2.text() + "|" + State(form),
            std::string(2048, 'u') + "||0010");
  machine.registry.RemoveKey(kHkeyLocalMachine, kWinlogonKey);
  form.Form_Load();
  EXPECT_EQ(form.Text1.text() + "|" + form.Text2.text(), "|");
}

TEST_F(Form4Test, ConfirmWritesAsTypedAndKeepsAnExpandableValueExpandable) {
  machine.PutString(kHkeyLocalMachine, kWinlogonKey, "Userinit", "%SystemRoot%\\u.exe,", kRegExpandSz);
  Confirm(form, " %SystemRoot%\\u.exe, x.exe ", G("新外壳.exe"));
  EXPECT_TRUE(Holds("Userinit", " %SystemRoot%\\u.exe, x.exe ", kRegExpandSz));
  EXPECT_TRUE(Holds("shell", G("新外壳.exe")));
  EXPECT_TRUE(host.boxes.empty());
}

TEST_F(Form4Test, BlankValuesAndFailedWritesAreReportedAndEditingGoesOn) {
  ShellRefused refusing;
  Platform platform{refusing, machine.profile, machine.files, machine.platform.system};
  Form4 partial(platform, host);
  const struct { Form4* form; const char *userinit, *shell, *message; bool deny; } cases[] = {
      {&form, "", "x.exe", "Userinit 不能为空", false},
      {&form, " \t ", "x.exe", "Userinit 不能为空", false},
      {&form, "a.exe,", "  ", "shell 不能为空", false},
      {&form, "a.exe,", "x.exe", "写入 Userinit 失败：拒绝访问", true},
      {&partial, "a.exe,", "x.exe", "Userinit 已经写入，shell 没有写入", false}};
  for (const auto& c : cases) {
    host.boxes.clear();
    machine.registry.DenyWrite(kHkeyLocalMachine, kWinlogonKey, c.deny);
    c.form->Form_Load();
    Confirm(*c.form, c.userinit, c.shell);
    ASSERT_EQ(host.boxes.size(), 1u) << c.message;
    EXPECT_NE(host.boxes[0].text.find(G(c.message)), std::string::npos) << host.boxes[0].text;
    EXPECT_TRUE(Unchanged()) << c.message;
    EXPECT_EQ(State(*c.form), "1101") << c.message;
  }
}

TEST(Form3Help, TextLinesJoinedByCrLfAndTheProductKeyLineReadAfresh) {
  StartupMachine machine;
  RecordingHost host;
  Form3 form(machine.platform, host);
  const std::string text = HelpText(machine.platform.system);
  int lines = 0;
  for (size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos; at += 2) ++lines;
  EXPECT_EQ(lines, 24);
  EXPECT_EQ(text.substr(0, 20), G("\r\n本程序可以让你：\r\n"));
  EXPECT_EQ(text.substr(text.rfind("\r\n", text.size() - 3)),
            "\r\n" + WebSiteAddress(machine.platform.system) + "\r\n");

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
