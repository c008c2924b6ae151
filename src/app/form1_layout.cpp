// Form1's controls: positions in twips, captions, tooltips, colours, tab
// order, and which handler each event runs.
#include "app/form1.h"

namespace qel {

Form1::Form1(Platform& platform, ui::Host& host)
    : ui::Window("Form1"),
      Command11(*this, "Command11", nullptr, {8400, 6720, 975, 375}),
      Command10(*this, "Command10", nullptr, {7200, 6720, 975, 375}),
      Command9(*this, "Command9", nullptr, {7200, 5520, 975, 375}),
      Frame4(*this, "Frame4", nullptr, {120, 3360, 9375, 1935}),
      Command1(*this, "Command1", &Frame4, {8160, 1440, 975, 375}),
      Text2(*this, "Text2", &Frame4, {120, 960, 9135, 615}),
      Label2(*this, "Label2", &Frame4, {240, 360, 975, 255}),
      text2text(*this, "text2text", &Frame4, {1320, 360, 7575, 495}),
      Label3(*this, "Label3", &Frame4, {240, 720, 1095, 255}),
      Label1(*this, "Label1", &Frame4, {3360, 1680, 1575, 135}),
      Frame3(*this, "Frame3", nullptr, {120, 5280, 6975, 1935}),
      Command8(*this, "Command8", &Frame3, {3240, 360, 2175, 375}),
      Command7(*this, "Command7", &Frame3, {5520, 360, 1335, 375}),
      Checkregedit(*this, "Checkregedit", &Frame3, {240, 120, 1815, 420}),
      Command3(*this, "Command3", &Frame3, {240, 960, 1935, 375}),
      Frame5(*this, "Frame5", &Frame3, {3120, 1080, 3735, 735}),
      Text1(*this, "Text1", &Frame5, {240, 240, 3375, 375}),
      Command6(*this, "Command6", &Frame3, {240, 1440, 1935, 375}),
      Checkhomepage(*this, "Checkhomepage", &Frame3, {240, 480, 1815, 420}),
      Command4(*this, "Command4", nullptr, {8400, 6120, 975, 375}),
      Command5(*this, "Command5", nullptr, {7200, 6120, 975, 375}),
      Frame2(*this, "Frame2", nullptr, {3840, 360, 5655, 2895}),
      List4(*this, "List4", &Frame2, {120, 360, 5415, 2400}),
      Frame1(*this, "Frame1", nullptr, {120, 360, 3615, 2895}),
      List1(*this, "List1", &Frame1, {120, 360, 3375, 2370}, /*checkBoxes=*/true),
      List5(*this, "List5", nullptr, {6720, 0, 2175, 420}),
      Command2(*this, "Command2", nullptr, {8400, 5520, 975, 375}),
      platform_(platform),
      host_(host),
      registry_(platform.registry),
      entries_(List1, List4, List5) {
  clientWidth = 9660;
  clientHeight = 7320;
  LayOut();
}

void Form1::SetUp(ui::Control& control, const char* caption, int tabIndex, const char* tooltip) {
  if (caption) control.SetText(Ansi(caption));
  control.tabIndex = tabIndex;
  if (tooltip) control.tooltip = Ansi(tooltip);
}

void Form1::LayOut() {
  SetUp(Command11, "网站", 16);
  SetUp(Command10, "其它", 15, "其它启动项");
  SetUp(Command9, "进程", 14, "当前系统进程信息");
  SetUp(Frame4, "当前选择的自动运行项", -1);
  SetUp(Command1, "删   除", 13, "从自启动项里删除");
  SetUp(Text2, "Text2", 12, "修改之前最好先保存当前项到文件");
  Text2.multiLine = true;
  // Two lines that wrap, as the layout shows them; a scroll bar would also
  // make every new text cost Wine milliseconds.
  Text2.scrollBar = false;
  SetUp(Label2, "所在位置：", -1);
  SetUp(text2text, "1", -1);
  text2text.foreColor = ui::Color::Rgb(0, 0, 255);
  text2text.backColor = ui::Color::System(ui::kSysColorActiveBorder);
  SetUp(Label3, "对应文件：", -1);
  SetUp(Label1, "Label1", -1);
  Label1.SetVisible(false);
  SetUp(Frame3, nullptr, -1);
  SetUp(Command8, "清除访问过的网址记录", 11);
  SetUp(Command7, "恢复IE标题", 10);
  SetUp(Checkregedit, "禁止更改注册表", 9, "只是禁止使用regedit.exe");
  SetUp(Command3, "保存当前项到文件", 8);
  SetUp(Frame5, "浏览器（IE）主页地址", -1);
  SetUp(Text1, "Text1", 7);
  SetUp(Command6, "恢复上次的保存", 6);
  SetUp(Checkhomepage, "禁用修改主页设置", 5,
        "禁止在internet选项里修改ie主页地址,如果要进一步的保护,请下载主页保护程序");
  SetUp(Command4, "取消", 4, "取消操作并退出");
  SetUp(Command5, "帮助", 3);
  SetUp(Frame2, "自动运行项对应的程序文件", -1);
  SetUp(List4, nullptr, 2);
  List4.foreColor = ui::Color::Rgb(128, 128, 128);
  List4.backColor = ui::Color::Rgb(224, 224, 224);
  SetUp(Frame1, "启动时自动运行项", -1);
  SetUp(List1, nullptr, 1);
  SetUp(List5, nullptr, -1);
  List5.SetVisible(false);
  SetUp(Command2, "确  认", 0, "确认了么？确认的则按此，否则按取消");

  List1.Click = [this] { List1_Click(); };
  List4.Click = [this] { List4_Click(); };
  Text2.Change = [this] { Text2_Change(); };
  Command1.Click = [this] { Command1_Click(); };
  Command2.Click = [this] { Command2_Click(); };
  Command3.Click = [this] { Command3_Click(); };
  Command4.Click = [this] { Command4_Click(); };
  Command5.Click = [this] { Command5_Click(); };
  Command6.Click = [this] { Command6_Click(); };
  Command7.Click = [this] { Command7_Click(); };
  Command8.Click = [this] { Command8_Click(); };
  Command9.Click = [this] { Command9_Click(); };
  Command10.Click = [this] { Command10_Click(); };
  Command11.Click = [this] { Command11_Click(); };
}

}  // namespace qel
