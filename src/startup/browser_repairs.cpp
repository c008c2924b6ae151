#include "startup/browser_repairs.h"

namespace qel {
namespace {

constexpr char kBrowserMainKey[] = "Software\\Microsoft\\Internet Explorer\\Main";
constexpr char kTypedUrlsKey[] = "Software\\Microsoft\\Internet Explorer\\TypedUrls";

}  // namespace

Status RestoreBrowserTitle(Module1& registry) {
  Status userStatus = kOk;
  for (RegKey root : {kHkeyCurrentUser, kHkeyLocalMachine}) {
    RegValue title = RegValue::FromText("Microsoft Internet Explorer");
    std::uint32_t size = 0;
    Status status =
        registry.WriteRegValue(root, kBrowserMainKey, "Window Title", kRegSz, &title, &size);
    if (root == kHkeyCurrentUser) userStatus = status;
  }
  return userStatus;
}

Status ClearTypedUrls(Module1& registry) {
  Status status = registry.api().DeleteKey(kHkeyCurrentUser, kTypedUrlsKey);
  return status == kFileNotFound ? kOk : status;
}

}  // namespace qel
