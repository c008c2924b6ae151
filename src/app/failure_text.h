// Words for a failed system call, for the messages that must name it.
#pragma once

#include <string>

#include "platform/status.h"

namespace qel {

// UTF-8, e.g. "拒绝访问（错误 5）".
std::string DescribeStatus(Status status);

}  // namespace qel
