// Byte-level work on ANSI text that must respect double-byte characters: in
// GBK a character's second byte may be a letter or a backslash.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qel {

// Whether byte starts a double-byte character in the code page (GBK, Big5,
// the Korean and the Japanese code pages; single-byte pages have none).
bool IsLeadByte(std::uint32_t codePage, unsigned char byte);
// 'A'..'Z' to lower case, never the second byte of a double-byte character;
// in GBK also the full-width Latin, Greek and Cyrillic capitals.
std::string LowerAnsi(const std::string& text, std::uint32_t codePage);
// The folder of a file path: the text before its last backslash that is not
// the second byte of a double-byte character; empty when there is none.
std::string FolderOf(const std::string& path, std::uint32_t codePage);

// Lines of a file: split at CR LF, CR or LF; the break after the last line
// does not start another. At most maxLines are built; *cut (when given) says
// whether more followed.
std::vector<std::string> SplitLines(const std::string& bytes, std::size_t maxLines = SIZE_MAX,
                                    bool* cut = nullptr);

}  // namespace qel
