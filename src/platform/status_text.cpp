#include "platform/status_text.h"

namespace qel {

std::string DescribeStatus(Status status) {
  const char* words = "操作失败";
  switch (status) {
    case kFileNotFound: words = "找不到文件"; break;
    case kPathNotFound: words = "找不到路径"; break;
    case kAccessDenied: words = "拒绝访问"; break;
    case kSharingViolation: words = "文件正被其它程序使用"; break;
    case kDiskFull: words = "磁盘空间不足"; break;
    default: break;
  }
  return std::string(words) + "（错误 " + std::to_string(status) + "）";
}

}  // namespace qel
