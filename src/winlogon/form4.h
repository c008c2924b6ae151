// The editor for the two logon values that start programs at every logon,
// Userinit and shell, beside what they normally hold.
#pragma once

#include <string>

#include "platform/platform.h"
#include "registry/module1.h"
#include "ui/controls.h"
#include "ui/host.h"

namespace qel {

constexpr char kWinlogonKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";

class Form4 : public ui::Window {
 public:
  Form4(Platform& platform, ui::Host& host);

  // Reads both values afresh and starts in the viewing state.
  void Form_Load() override;
  void Form_Unload() override {}

  void Command9_Click();  // 修改: unlocks editing
  void Command1_Click();  // 确认: writes both values back
  void Command2_Click();  // 退出: closes without writing

  // Controls, in layout order: containers come before what they hold.
  ui::Frame Frame1;
  ui::Label Label1, Label3, Label2;
  ui::TextBox Text1;
  ui::Frame Frame2;
  ui::Label Label4, Label5, Label6;
  ui::TextBox Text2;
  ui::Button Command9, Command1, Command2;

 private:
  std::string Ansi(const char* utf8) const { return platform_.system.ToAnsi(utf8); }
  void Say(const std::string& utf8) { host_.MessageBox(platform_.system.ToAnsi(utf8), ui::kMbOk); }
  void SetUp(ui::Control& control, const char* caption, int tabIndex);
  void ShowState(bool boxes, bool modify, bool confirm);
  bool Refuse(const ui::TextBox& box, const char* name, const char* why);
  Status WriteLogonValue(const char* name, const std::string& text);
  std::uint32_t LogonView();

  Platform& platform_;
  ui::Host& host_;
  Module1 registry_;
};

}  // namespace qel
