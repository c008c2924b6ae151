// UTF-8 <-> code page 936 without the platform seam, for the in-memory
// platform. Characters the target cannot hold become '?', as the Windows
// conversion functions do.
#pragma once

#include <string>

namespace qel::mem {

std::string Utf8ToGbk(const std::string& utf8);
std::string GbkToUtf8(const std::string& gbk);

}  // namespace qel::mem
