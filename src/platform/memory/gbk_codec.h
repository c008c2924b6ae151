// UTF-8 <-> code page 936 without the platform seam. Characters the target
// cannot hold become '?', one per UTF-16 unit, as the Windows conversions give them.
#pragma once

#include <string>

namespace qel::mem {

std::string Utf8ToGbk(const std::string& utf8);
std::string GbkToUtf8(const std::string& gbk);

}  // namespace qel::mem
