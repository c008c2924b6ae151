// Name comparison as Windows does it for registry keys, profile keys and file
// paths: case-insensitive, on ANSI (GBK) bytes.
#pragma once

#include <string>
#include <vector>

namespace qel::mem {

// Folds 'a'..'z' to upper case, but never the trail byte of a double-byte
// character: in GBK a trail byte can be a letter and folding it would turn
// one Chinese character into another.
std::string FoldName(const std::string& ansi);

bool SameName(const std::string& a, const std::string& b);

// The non-empty parts of a path split at backslashes (and at slashes too
// when allowed, as file paths do), never at the trail byte of a double-byte
// character: in GBK that byte may be 0x5C.
std::vector<std::string> SplitPath(const std::string& path, bool slashSeparates);

}  // namespace qel::mem
