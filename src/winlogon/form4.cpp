#include "winlogon/form4.h"

#include "platform/status_text.h"

namespace qel {

Form4::Form4(Platform& platform, ui::Host& host)
    : ui::Window("Form4"),
      Frame1(*this, "Frame1", nullptr, {120, 240, 7095, 1695}),
      Label1(*this, "Label1", &Frame1, {120, 360, 6855, 255}),
      Label3(*this, "Label3", &Frame1, {120, 720, 6855, 255}),
      Label2(*this, "Label2", &Frame1, {120, 1200, 1575, 375}),
      Text1(*this, "Text1", &Frame1, {1680, 1080, 5175, 375}),
      Frame2(*this, "Frame2", nullptr, {120, 2160, 7095, 1695}),
      Label4(*this, "Label4", &Frame2, {120, 360, 6855, 255}),
      Label5(*this, "Label5", &Frame2, {120, 720, 6855, 255}),
      Label6(*this, "Label6", &Frame2, {120, 1200, 1575, 375}),
      Text2(*this, "Text2", &Frame2, {1680, 1080, 5175, 375}),
      Command9(*this, "Command9", nullptr, {1800, 3960, 975, 375}),
      Command1(*this, "Command1", nullptr, {3480, 3960, 975, 375}),
      Command2(*this, "Command2", nullptr, {5160, 3960, 975, 375}),
      platform_(platform),
      host_(host),
      registry_(platform.registry) {
  clientWidth = 7365;
  clientHeight = 4425;
  centerOnOwner = true;
  SetCaption(Ansi("其它注册表启动项（警告！！！请勿随便修改）"));
  const char* keyPath =
      "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
  SetUp(Frame1, "Userinit（Win98无此项）", -1);
  SetUp(Label1, "正常应为：C:\\WINNT\\system32\\userinit.exe,或类似。位置：", -1);
  SetUp(Label3, keyPath, -1);
  SetUp(Label2, "当前注册表中为：", -1);
  SetUp(Text1, nullptr, 2);
  SetUp(Frame2, "shell", -1);
  SetUp(Label4, "正常应为：Explorer.exe 位置：", -1);
  SetUp(Label5, keyPath, -1);
  SetUp(Label6, "当前注册表中为：", -1);
  SetUp(Text2, nullptr, 3);
  SetUp(Command9, "修改", 10);
  SetUp(Command1, "确认", 11);
  SetUp(Command2, "退出", 12);
  Label3.foreColor = Label5.foreColor = ui::Color::Rgb(0, 0, 255);
  ShowState(false, true, false);

  Command9.Click = [this] { Command9_Click(); };
  Command1.Click = [this] { Command1_Click(); };
  Command2.Click = [this] { Command2_Click(); };
}

void Form4::SetUp(ui::Control& control, const char* caption, int tabIndex) {
  if (caption) control.SetText(Ansi(caption));
  control.tabIndex = tabIndex;
}

// Viewing: (false, true, false); Editing: (true, false, true); Written: all false.
void Form4::ShowState(bool boxes, bool modify, bool confirm) {
  Text1.SetEnabled(boxes);
  Text2.SetEnabled(boxes);
  Command9.SetEnabled(modify);
  Command1.SetEnabled(confirm);
}

// The logon reads the 64-bit view where there are two; a 32-bit program
// sees the 32-bit copy of the key unless it asks.
std::uint32_t Form4::LogonView() {
  return platform_.registry.OtherView() ? kKeyWow64_64Key : 0;
}

void Form4::Form_Load() {
  // A missing key (Windows 98) or value leaves its box empty.
  RegValue userinit, shell;
  registry_.ReadRegValue(kHkeyLocalMachine, kWinlogonKey, "Userinit", &userinit, nullptr,
                         LogonView());
  registry_.ReadRegValue(kHkeyLocalMachine, kWinlogonKey, "shell", &shell, nullptr, LogonView());
  Text1.SetText(userinit.TextForm());
  Text2.SetText(shell.TextForm());
  ShowState(false, true, false);
}

void Form4::Command9_Click() {
  // Enabled before "修改" is disabled, so that the focus has somewhere to go.
  Text1.SetEnabled(true);
  Text2.SetEnabled(true);
  Command1.SetEnabled(true);
  Command9.SetEnabled(false);
}

// An empty Userinit ends every logon at once; an empty shell leaves no desktop.
bool Form4::Refuse(const ui::TextBox& box, const char* name, const char* why) {
  if (box.text().find_first_not_of(" \t") != std::string::npos) return false;
  Say(std::string(name) + " 不能为空：" + why + "没有写入任何值。");
  return true;
}

// Keeps an expandable value expandable; anything else is written as REG_SZ.
Status Form4::WriteLogonValue(const char* name, const std::string& text) {
  RegValue old;
  RegValueInfo info;
  registry_.ReadRegValue(kHkeyLocalMachine, kWinlogonKey, name, &old, &info, LogonView());
  RegValue data = RegValue::FromText(text);
  std::uint32_t size = 0;
  return registry_.WriteRegValue(kHkeyLocalMachine, kWinlogonKey, name,
                                 info.type == kRegExpandSz ? kRegExpandSz : kRegSz, &data, &size,
                                 LogonView());
}

void Form4::Command1_Click() {
  if (Refuse(Text1, "Userinit", "它为空时，任何用户登录后都会被立即注销。") ||
      Refuse(Text2, "shell", "它为空时，用户登录后没有桌面。"))
    return;
  Status status = WriteLogonValue("Userinit", Text1.text());
  if (status != kOk) {
    Say("写入 Userinit 失败：" + DescribeStatus(status) + "。没有写入任何值。");
    return;
  }
  status = WriteLogonValue("shell", Text2.text());
  if (status != kOk) {
    Say("写入 shell 失败：" + DescribeStatus(status) + "。Userinit 已经写入，shell 没有写入。");
    return;
  }
  ShowState(false, false, false);
}

void Form4::Command2_Click() { host_.Unload(*this); }

}  // namespace qel
