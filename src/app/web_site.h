// The address the first run, the "网站" button and the help text point at.
#pragma once

#include <string>

#include "platform/system.h"

namespace qel {

// ANSI bytes, ready for ShellExecuteA and for display.
std::string WebSiteAddress(SystemApi& system);

// True when the address is the page shipped beside the program, which a user
// may have lost; a configured site address is opened as it is.
bool WebSiteIsShippedPage();

}  // namespace qel
