// The Winlogon editor and the help window on a memory machine.
#include "app/web_site.h"
#include "help/form3.h"
#include "support/window_fixture.h"
#include "winlogon/form4.h"

namespace qel::test {
namespace {

constexpr char kUserinit[] = "C:\\WINNT\\system32\\userinit.exe,";

// Refuses every write of "shell", to stop a confirm between its two writes.
struct ShellRefused : mem::MemoryRegistry {
  Status SetValue(RegKey key, const std::string& name, std::uint32_t type, const void* data, std::uint32_t size) override {
    return name == "shell" ? kAccessDenied : MemoryRegistry::SetValue(key, name, type, data, size);
  }
};

class Form4Test : public MachineTest {
 protected:
  // Types both values after 修改 and confirms; which of Text1, Text2, 修改, 确认 are enabled.
  std::string Confirm(Form4& f, const std::string& userinit, const std::string& shell) {
    f.Form_Load();
    f.Command9_Click();
    f.Text1.SetText(userinit);
    f.Text2.SetText(shell);
    f.Command1_Click();
    return {"01"[f.Text1.enabled()], "01"[f.Text2.enabled()], "01"[f.Command9.enabled()], "01"[f.Command1.enabled()]};
  }
  bool Holds(const char* name, const std::string& text, std::uint32_t type = kRegSz) {
    return HasValue(machine.registry, kHkeyLocalMachine, kWinlogonKey, name, type, Sz(text));
  }

  Form4 form{machine.platform, host};
};

TEST_F(Form4Test, ConfirmWritesBothAsTypedOrReportsWhyNotAndEditingGoesOn) {
  ShellRefused refusing;
  Platform platform{refusing, machine.profile, machine.files, machine.platform.system, machine.platform.processes,
                    machine.platform.programs};
  Form4 partial(platform, host);
  // view: a 64-bit Windows, where the logon reads the 64-bit view whichever is the program's own.
  const struct { Form4* form; const char *userinit, *shell, *message; bool deny; std::uint32_t view; } cases[] = {
      {&form, " %SystemRoot%\\u.exe, x.exe ", "新外壳.exe", "", false, 0},  // stays expandable
      {&form, "u.exe,", "x.exe", "", false, kKeyWow64_64Key},
      {&form, "u.exe,", "x.exe", "", false, kKeyWow64_32Key},
      {&form, " \t ", "x.exe", "Userinit 不能为空", false, 0},
      {&form, "a.exe,", "  ", "shell 不能为空", false, 0},
      {&form, "a.exe,", "x.exe", "写入 Userinit 失败：拒绝访问", true, 0},
      {&partial, "a.exe,", "x.exe", "Userinit 已经写入，shell 没有写入", false, 0}};  // on its own registry
  for (const auto& c : cases) {
    host.boxes.clear();
    machine.registry.otherView = c.view;
    machine.registry.PutString(kHkeyLocalMachine, kWinlogonKey, "Userinit", kUserinit, kRegExpandSz);
    machine.registry.PutString(kHkeyLocalMachine, kWinlogonKey, "Shell", "Explorer.exe");
    machine.registry.DenyWrite(kHkeyLocalMachine, kWinlogonKey, c.deny);
    const bool written = !*c.message;
    EXPECT_EQ(Confirm(*c.form, c.userinit, G(c.shell)), written ? "0000" : "1101") << c.message;
    ASSERT_EQ(host.boxes.size(), written ? 0u : 1u) << c.message;
    EXPECT_NE(LastMessage().find(G(c.message)), std::string::npos) << LastMessage();
    EXPECT_TRUE(Holds("Userinit", written ? c.userinit : kUserinit, kRegExpandSz) &&
                Holds("shell", written ? G(c.shell) : "Explorer.exe")) << c.message;
  }
  form.Form_Load();
  EXPECT_EQ(form.Text1.text() + "|" + form.Text2.text(), std::string(kUserinit) + "|Explorer.exe");
  machine.registry.DeleteKey(kHkeyLocalMachine, kWinlogonKey);
  form.Form_Load();  // Windows 98: no key
  EXPECT_EQ(form.Text1.text() + form.Text2.text() + "01"[form.Command9.enabled()] + "01"[form.Text1.enabled()], "10");
}

// CR LF lines ending with the site's address; the product key under its own label line.
TEST_F(Form4Test, HelpTextAndProductKey) {
  const std::string site = WebSiteAddress(machine.platform.system);
  Form3 help(machine.platform, host, site);
  const std::string text = HelpText(machine.platform.system, site);
  EXPECT_EQ(text.compare(text.size() - site.size() - 2, site.size() + 2, site + "\r\n"), 0);
  for (std::size_t i = text.find('\n'); i != std::string::npos; i = text.find('\n', i + 1))
    EXPECT_EQ(text[i - 1], '\r') << i;
  machine.registry.PutString(kHkeyLocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion", "ProductKey", "ABCDE-12345");
  help.Form_Load();
  EXPECT_EQ(help.Text1.text(), text);
  EXPECT_EQ(help.Label1.text(), G("Windows ProductKey：") + "\r" + "ABCDE-12345");
}

}  // namespace
}  // namespace qel::test
