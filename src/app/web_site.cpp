#include "app/web_site.h"

namespace qel {

std::string WebSiteAddress(SystemApi&) { return "http://www.qelmora.com/"; }

}  // namespace qel
