#include "app/web_site.h"

#include "app/web_site_config.h"

namespace qel {
namespace {

constexpr char kConfiguredAddress[] = QELMORA_WEB_SITE;
constexpr char kShippedPage[] = "说明.htm";

}  // namespace

bool WebSiteIsShippedPage() { return kConfiguredAddress[0] == '\0'; }

std::string WebSiteAddress(SystemApi& system) {
  if (!WebSiteIsShippedPage()) return system.ToAnsi(kConfiguredAddress);
  // By its full path: the shell must not resolve it against some other folder.
  return system.ProgramFolder() + "\\" + system.ToAnsi(kShippedPage);
}

}  // namespace qel
