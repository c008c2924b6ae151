// The type and bytes a row is written with.
#include "startup/commit.h"

namespace qel {
namespace {

bool IsNameChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '(' || c == ')';
}

bool HasEnvironmentReference(const std::string& text) {
  for (std::size_t start = text.find('%'); start != std::string::npos;) {
    std::size_t i = start + 1;
    while (i < text.size() && IsNameChar(text[i])) ++i;
    if (i < text.size() && text[i] == '%' && i > start + 1) return true;
    start = text.find('%', i);
  }
  return false;
}

std::string LittleEndian(std::int32_t value, std::size_t count) {
  std::uint32_t bits = static_cast<std::uint32_t>(value);
  std::string bytes;
  for (std::size_t i = 0; i < count; ++i) bytes += static_cast<char>(bits >> (8 * i));
  return bytes;
}

bool FitsInBytes(std::int32_t value, std::size_t count) {
  if (count >= 4) return true;
  return value >= 0 && static_cast<std::int64_t>(value) < (std::int64_t(1) << (8 * count));
}

}  // namespace

StoredValue ValueToWrite(const StoredValue& stored, const std::string& text) {
  switch (stored.type) {
    case kRegSz:
    case kRegExpandSz:
      if (TextOfStringBytes(stored.bytes) == text) return stored;
      return {stored.type, text + '\0'};
    case kRegDword:
    case kRegBinary: {
      std::optional<std::int32_t> value = ParseDecimalInt32(text);
      if (!value) break;
      if (*value == IntegerOfBytes(stored.bytes)) return stored;
      if (stored.type == kRegDword) return {kRegDword, LittleEndian(*value, 4)};
      if (FitsInBytes(*value, stored.bytes.size()))
        return {kRegBinary, LittleEndian(*value, stored.bytes.size())};
      break;
    }
    default: break;
  }
  return {HasEnvironmentReference(text) ? kRegExpandSz : kRegSz, text + '\0'};
}

}  // namespace qel
