// The one message a confirm shows when it could not do everything.
#pragma once

#include <string>
#include <vector>

#include "platform/system.h"
#include "startup/commit.h"

namespace qel {

// ANSI text: a heading, then one line per entry with its display name, its
// place and why it stays as it was.
// otherView: RegistryApi::OtherView, which names the other view's places.
std::string DescribeUndone(const std::vector<UndoneEntry>& undone, SystemApi& system,
                           std::uint32_t otherView);

}  // namespace qel
