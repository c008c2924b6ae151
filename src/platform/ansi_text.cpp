#include "platform/ansi_text.h"

namespace qel {
namespace {

// GBK's double-byte capitals and the distance to their small letters, which
// share the lead byte: full-width Latin, Greek, Cyrillic.
struct CapitalRun {
  unsigned char lead, first, last, toLower;
};
constexpr CapitalRun kGbkCapitals[] = {
    {0xA3, 0xC1, 0xDA, 0x20},  // Ａ..Ｚ
    {0xA6, 0xA1, 0xB8, 0x20},  // Α..Ω
    {0xA7, 0xA1, 0xC1, 0x30},  // А..Я
};

void LowerDoubleByte(std::uint32_t codePage, std::string& text, std::size_t lead) {
  if (codePage != 936 || lead + 1 >= text.size()) return;
  const unsigned char first = static_cast<unsigned char>(text[lead]);
  const unsigned char second = static_cast<unsigned char>(text[lead + 1]);
  for (const CapitalRun& run : kGbkCapitals)
    if (first == run.lead && second >= run.first && second <= run.last)
      text[lead + 1] = static_cast<char>(second + run.toLower);
}

}  // namespace

bool IsLeadByte(std::uint32_t codePage, unsigned char byte) {
  switch (codePage) {
    case 932:
      return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    case 936:
    case 949:
    case 950:
      return byte >= 0x81 && byte <= 0xFE;
    default:
      return false;
  }
}

std::string LowerAnsi(const std::string& text, std::uint32_t codePage) {
  std::string out = text;
  for (std::size_t i = 0; i < out.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(out[i]);
    if (IsLeadByte(codePage, c)) {
      LowerDoubleByte(codePage, out, i);
      ++i;  // the second byte is never read as a letter of its own
    } else if (c >= 'A' && c <= 'Z') {
      out[i] = static_cast<char>(c - 'A' + 'a');
    }
  }
  return out;
}

std::string FolderOf(const std::string& path, std::uint32_t codePage) {
  std::size_t cut = std::string::npos;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (IsLeadByte(codePage, static_cast<unsigned char>(path[i]))) {
      ++i;
    } else if (path[i] == '\\') {
      cut = i;
    }
  }
  return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

std::vector<std::string> SplitLines(const std::string& bytes, std::size_t maxLines, bool* cut) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < bytes.size() && lines.size() < maxLines; ++i) {
    char c = bytes[i];
    if (c != '\r' && c != '\n') continue;
    lines.push_back(bytes.substr(start, i - start));
    if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    start = i + 1;
  }
  const bool full = lines.size() == maxLines, rest = start < bytes.size();
  if (rest && !full) lines.push_back(bytes.substr(start));
  if (cut) *cut = rest && full;
  return lines;
}

}  // namespace qel
