// Words for a failed system call, beside the codes they describe, for the
// messages that must name the failure.
#pragma once

#include <string>

#include "platform/status.h"

namespace qel {

// UTF-8, e.g. "拒绝访问（错误 5）".
std::string DescribeStatus(Status status);

}  // namespace qel
