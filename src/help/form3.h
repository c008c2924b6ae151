// The help window: what the program is for, how to use it against hostile
// web pages and trojans, and the product key of the installed Windows.
#pragma once

#include <string>

#include "platform/platform.h"
#include "registry/module1.h"
#include "ui/controls.h"
#include "ui/host.h"

namespace qel {

// The help text as ANSI bytes: lines joined by CR LF, the last one included;
// it ends with the web-site address (ANSI), which the opener knows.
std::string HelpText(SystemApi& system, const std::string& webSite);

class Form3 : public ui::Window {
 public:
  Form3(Platform& platform, ui::Host& host, std::string webSite);

  // Restores the help text (dropping anything typed) and reads the product key.
  void Form_Load() override;
  void Form_Unload() override {}

  void Command1_Click();  // 确定

  ui::TextBox Text1;
  ui::Label Label1;
  ui::Button Command1;

 private:
  Platform& platform_;
  ui::Host& host_;
  Module1 registry_;
  std::string webSite_;
};

}  // namespace qel
