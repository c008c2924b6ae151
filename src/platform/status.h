// Win32 status codes as the program sees them: passed through the platform
// seam unchanged so that callers decide what is ignored and what is shown.
#pragma once

#include <cstdint>

namespace qel {

using Status = std::uint32_t;

constexpr Status kOk = 0;
constexpr Status kFileNotFound = 2;
constexpr Status kPathNotFound = 3;
constexpr Status kAccessDenied = 5;
constexpr Status kSharingViolation = 32;
constexpr Status kDiskFull = 112;
constexpr Status kCallNotImplemented = 120;  // MoveFileExA on Windows 9x
constexpr Status kDirNotEmpty = 145;
constexpr Status kAlreadyExists = 183;
constexpr Status kMoreData = 234;
constexpr Status kNoMoreItems = 259;

}  // namespace qel
