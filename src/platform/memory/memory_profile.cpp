#include "platform/memory/memory_profile.h"

#include <cstring>

#include "platform/memory/ansi_names.h"

namespace qel::mem {

namespace {

// The longest prefix of at most room bytes that does not end inside a
// double-byte character: a lone lead byte would join whatever follows.
std::uint32_t CutLength(const std::string& text, std::uint32_t room) {
  std::size_t length = 0;
  while (length < text.size()) {
    unsigned char c = static_cast<unsigned char>(text[length]);
    std::size_t next = length + (c >= 0x81 && c <= 0xFE && length + 1 < text.size() ? 2 : 1);
    if (next > room) break;
    length = next;
  }
  return static_cast<std::uint32_t>(length);
}

}  // namespace

std::string MemoryProfile::Id(const std::string& section, const std::string& key) {
  return FoldName(section) + '\n' + FoldName(key);
}

std::uint32_t MemoryProfile::GetProfileString(const std::string& section, const std::string& key,
                                              const std::string& fallback, char* buffer,
                                              std::uint32_t size) {
  if (meter_) meter_->Tick();
  if (!buffer || size == 0) return 0;
  std::string text;
  // Windows drops the trailing blanks of the default text.
  if (!Get(section, key, &text)) text = fallback.substr(0, fallback.find_last_not_of(' ') + 1);
  std::uint32_t copied = CutLength(text, size - 1);
  std::memcpy(buffer, text.data(), copied);
  buffer[copied] = 0;
  return copied;
}

bool MemoryProfile::WriteProfileString(const std::string& section, const std::string& key,
                                       const char* text) {
  if (meter_) meter_->Tick();
  if (text) {
    Put(section, key, text);
    return true;
  }
  // Deleting a key that is not there fails, as the registry-mapped Win.ini
  // of Windows NT reports it.
  return texts_.erase(Id(section, key)) != 0;
}

void MemoryProfile::Put(const std::string& section, const std::string& key,
                        const std::string& text) {
  texts_[Id(section, key)] = text;
}

bool MemoryProfile::Get(const std::string& section, const std::string& key,
                        std::string* text) const {
  auto found = texts_.find(Id(section, key));
  if (found != texts_.end() && text) *text = found->second;
  return found != texts_.end();
}

void MemoryProfile::Remove(const std::string& section, const std::string& key) {
  texts_.erase(Id(section, key));
}

}  // namespace qel::mem
