#include "app/commit_message.h"

#include "platform/status_text.h"
#include "startup/catalogue.h"

namespace qel {
namespace {

// UTF-8.
std::string Reason(const UndoneEntry& entry) {
  using Why = UndoneEntry::Why;
  std::string reason;
  switch (entry.why) {
    case Why::WriteRefused: reason = "无法写入"; break;
    case Why::HeldByUnlisted: return "该位置已有同名的、本程序不能显示的值";
    case Why::UnicodeName: return "名称含有当前代码页无法表示的字符，本程序不能更改此项";
    case Why::SpareCopyFailed: reason = "交换位置前无法保存备份"; break;
    case Why::DeleteRefused: reason = "无法删除"; break;
    case Why::FileRefused: reason = "无法更改文件属性"; break;
    case Why::FileDeleteRefused: reason = "无法删除文件"; break;
    case Why::NoSuchPlace: return "本机没有这个位置";
    case Why::FlagRefused: reason = "无法在任务管理器的启动项中启用"; break;
  }
  if (entry.status != kOk) reason += "：" + DescribeStatus(entry.status);
  return reason;
}

}  // namespace

std::string DescribeUndone(const std::vector<UndoneEntry>& undone, SystemApi& system,
                           std::uint32_t otherView) {
  std::string text = system.ToAnsi("以下自启动项没有更改成功，仍保持原样：");
  for (const UndoneEntry& entry : undone) {
    std::string place = entry.path;
    if (place.empty() && entry.source)
      place = system.ToAnsi(LocationText(*entry.source, entry.enabled, otherView).c_str());
    text += "\r\n" + entry.name + system.ToAnsi("（") + place + system.ToAnsi("）：") +
            system.ToAnsi(Reason(entry).c_str());
  }
  return text;
}

}  // namespace qel
