// Form5's controls: positions in twips, captions, colours, tab order, and
// which handler each event runs.
#include "process/form5.h"

namespace qel {

Form5::Form5(Platform& platform, ui::Host& host, std::string systemDirectory)
    : ui::Window("Form5"),
      Frame2(*this, "Frame2", nullptr, {120, 120, 8655, 3255}),
      List7(*this, "List7", &Frame2, {3720, 480, 4335, 1290}),
      lvwPrss(*this, "lvwPrss", &Frame2, {120, 240, 8415, 2535}),
      Label1(*this, "Label1", &Frame2, {240, 2880, 6855, 255}),
      cmdDelete(*this, "cmdDelete", &Frame2, {3480, 2760, 972, 372}),
      Command1(*this, "Command1", &Frame2, {4920, 2760, 1455, 372}),
      List6(*this, "List6", &Frame2, {1440, 0, 3255, 2760}),
      Frame1(*this, "Frame1", nullptr, {120, 3600, 4215, 2655}),
      List3(*this, "List3", &Frame1, {120, 240, 3975, 1860}),
      List2(*this, "List2", &Frame1, {120, 240, 3975, 1860}),
      List1(*this, "List1", &Frame1, {480, 240, 1935, 960}),
      Command3(*this, "Command3", nullptr, {240, 5760, 2655, 372}),
      Command2(*this, "Command2", nullptr, {3240, 5760, 972, 372}),
      Frame3(*this, "Frame3", nullptr, {4440, 3600, 4335, 2655}),
      List4(*this, "List4", &Frame3, {120, 240, 4095, 1860}),
      List5(*this, "List5", &Frame3, {120, 240, 4095, 1860}),
      Command4(*this, "Command4", &Frame3, {120, 2160, 2655, 372}),
      Command5(*this, "Command5", &Frame3, {3240, 2160, 972, 372}),
      cmdRefresh(*this, "cmdRefresh", nullptr, {6360, 6360, 972, 372}),
      cmdExit(*this, "cmdExit", nullptr, {7680, 6360, 972, 372}),
      platform_(platform),
      host_(host),
      systemDirectory_(std::move(systemDirectory)) {
  clientWidth = 8940;
  clientHeight = 6765;
  LayOut();
}

void Form5::SetUp(ui::Control& control, const char* caption, int tabIndex) {
  if (caption) control.SetText(Ansi(caption));
  control.tabIndex = tabIndex;
}

void Form5::LayOut() {
  SetCaption(Ansi("进程"));
  SetUp(Frame2, "当前进程", -1);
  // The note display lies over the list view: it comes first in the tab
  // order, which is also the order in which the host stacks controls.
  SetUp(List7, nullptr, 0);
  List7.backColor = ui::Color::Rgb(0xE0, 0xE0, 0xE0);
  List7.SetVisible(false);
  SetUp(lvwPrss, nullptr, 1);
  SetUp(Label1, nullptr, -1);
  Label1.foreColor = ui::Color::Rgb(0, 0, 0xFF);
  SetUp(cmdDelete, "强行中止", 2);
  cmdDelete.SetEnabled(false);
  SetUp(Command1, "保存当前进程", 3);
  SetUp(List6, nullptr, -1);
  List6.SetVisible(false);
  SetUp(Frame1, "比上次保存时多出的进程", -1);
  // Of the lists sharing a frame only the one on top is shown, so that the
  // keyboard never reaches a covered one.
  SetUp(List3, nullptr, 4);
  SetUp(List2, nullptr, 5);
  List2.SetVisible(false);
  SetUp(List1, nullptr, -1);
  List1.SetVisible(false);
  SetUp(Command3, "显示保存的进程列表", 6);
  SetUp(Command2, "帮助", 7);
  SetUp(Frame3, "未被信任的进程", -1);
  SetUp(List4, nullptr, 8);
  List4.foreColor = ui::Color::Rgb(0xFF, 0, 0);
  SetUp(List5, nullptr, 9);
  List5.SetVisible(false);
  SetUp(Command4, "显示已信任的进程列表", 10);
  SetUp(Command5, "帮助", 11);
  SetUp(cmdRefresh, "刷新", 12);
  SetUp(cmdExit, "退出", 13);
  cmdExit.isCancel = true;

  lvwPrss.Click = [this] { lvwPrss_Click(); };
  cmdDelete.Click = [this] { cmdDelete_Click(); };
  Command1.Click = [this] { Command1_Click(); };
  Command2.Click = [this] { Command2_Click(); };
  Command3.Click = [this] { Command3_Click(); };
  Command4.Click = [this] { Command4_Click(); };
  Command5.Click = [this] { Command5_Click(); };
  cmdRefresh.Click = [this] { cmdRefresh_Click(); };
  cmdExit.Click = [this] { cmdExit_Click(); };
  List2.Click = [this] { List2_Click(); };
  List3.Click = [this] { List3_Click(); };
  List4.Click = [this] { List4_Click(); };
  List5.Click = [this] { List5_Click(); };
  List7.Click = [this] { List7_Click(); };
  List4.DblClick = [this] { List4_DblClick(); };
  List5.DblClick = [this] { List5_DblClick(); };
}

}  // namespace qel
