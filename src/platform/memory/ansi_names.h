// Name comparison as Windows does it for registry keys, profile keys and file
// paths: case-insensitive, on ANSI (GBK) bytes.
#pragma once

#include <string>

namespace qel::mem {

// Folds 'a'..'z' to upper case, but never the trail byte of a double-byte
// character: in GBK a trail byte can be a letter and folding it would turn
// one Chinese character into another.
std::string FoldName(const std::string& ansi);

bool SameName(const std::string& a, const std::string& b);

}  // namespace qel::mem
