// The address the first run, the "网站" button and the help text point at.
#pragma once

#include <string>

#include "platform/system.h"

namespace qel {

// ANSI bytes, ready for ShellExecuteA and for display.
std::string WebSiteAddress(SystemApi& system);

}  // namespace qel
