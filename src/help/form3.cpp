#include "help/form3.h"

#include <utility>

namespace qel {
namespace {

// Line 15 is split around the search site's host name. One line of text per
// line of source, so that each can be compared with what the window shows.
// clang-format off
constexpr const char* kLinesBeforeSite[] = {
    "",
    "本程序可以让你：",
    "",
    "    (1)维护计算机启动时自动启动的所有程序",
    "    (2)轻松监视本机进程",
    "    (3)解决一般网络浏览器遇到的问题",
    "    (4)解决常见的木马病毒问题",
    "    ",
    "",
    "一、如果计算机出现异常症状（如启动或打开浏览器时弹出很多无聊网页、系统变慢等），可直接选择【恢复上次的保存】，然后【确认】，如果上次系统正常时选择了【保存当前项到文件】的话。重启系统，如果系统仍不正常，单击【进程】，查看进程列表或未被信任的进程列表，杀死不被信任的进程再试。",
    "    如果没有【保存当前项到文件】，在自动启动表中把可疑的启动程序项勾选掉或删除掉。这些可疑的启动程序项常是后缀为“.htm”（或“.html”）的，或者在启动程序命令行中出现“regedit -s xx.dll”、“regedit -s xx.sys”字样的。",
    "",
    "二、一般病毒或木马查杀办法：",
    "1、 如果机器被感染了，一般自启动项会发生变化（这个变化只能作为机器是否被感染的参考条件），从变化可以看出是什么东东感染了你的计算机。",
    "2、查看进程。本程序可以帮你管理所有进程。如果你的计算机出现了新的进程，在本程序的[未被信任的进程列表]随时可以看到。看到可疑的进程，如果不确定，到"
    "www.google.com"
    "查一下。如果确定是非法进程，杀死它，然后搜索该文件，删除之。",
    "3、杀毒软件要常升级，经常扫描一下系统文件夹。",
    "", "", "", "", "", "",
    "欢迎访问我的网站：",
};
// clang-format on

constexpr char kProductKeyPlace[] = "Software\\Microsoft\\Windows\\CurrentVersion";

}  // namespace

std::string HelpText(SystemApi& system, const std::string& webSite) {
  std::string text;
  for (const char* line : kLinesBeforeSite) text += system.ToAnsi(line) + "\r\n";
  return text + webSite + "\r\n";
}

// The product key line sits below the text box, left of "确定": the text box
// is shortened by its two lines so that nothing overlaps.
Form3::Form3(Platform& platform, ui::Host& host, std::string webSite)
    : ui::Window("Form3"),
      Text1(*this, "Text1", nullptr, {120, 240, 5655, 2295}),
      Label1(*this, "Label1", nullptr, {120, 2640, 4215, 495}),
      Command1(*this, "Command1", nullptr, {4440, 3000, 1095, 375}),
      platform_(platform),
      host_(host),
      registry_(platform.registry),
      webSite_(std::move(webSite)) {
  clientWidth = 5880;
  clientHeight = 3435;
  SetCaption(platform.system.ToAnsi("帮助"));
  Text1.multiLine = true;
  Text1.tabIndex = 0;
  Command1.SetText(platform.system.ToAnsi("确定"));
  Command1.tabIndex = 2;
  Command1.Click = [this] { Command1_Click(); };
}

void Form3::Form_Load() {
  Text1.SetText(HelpText(platform_.system, webSite_));
  // A missing key or value leaves the second line empty.
  RegValue key;
  registry_.ReadRegValue(kHkeyLocalMachine, kProductKeyPlace, "ProductKey", &key);
  Label1.SetText(platform_.system.ToAnsi("Windows ProductKey：") + "\r" + key.TextForm());
}

void Form3::Command1_Click() { host_.Unload(*this); }

}  // namespace qel
