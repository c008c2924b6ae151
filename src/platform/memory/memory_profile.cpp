#include "platform/memory/memory_profile.h"

#include <algorithm>
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

MemoryProfile::Entry* MemoryProfile::Find(const std::string& section, const std::string& key) {
  for (Entry& entry : entries_) {
    if (SameName(entry.section, section) && SameName(entry.key, key)) return &entry;
  }
  return nullptr;
}

const MemoryProfile::Entry* MemoryProfile::Find(const std::string& section,
                                                const std::string& key) const {
  return const_cast<MemoryProfile*>(this)->Find(section, key);
}

std::uint32_t MemoryProfile::GetProfileString(const std::string& section, const std::string& key,
                                              const std::string& fallback, char* buffer,
                                              std::uint32_t size) {
  if (meter_) meter_->Tick();
  if (!buffer || size == 0) return 0;
  std::string text;
  if (const Entry* entry = Find(section, key)) {
    text = entry->text;
  } else {
    // Windows drops the trailing blanks of the default text.
    text = fallback.substr(0, fallback.find_last_not_of(' ') + 1);
  }
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
  bool existed = Get(section, key, nullptr);
  Remove(section, key);
  return existed;
}

void MemoryProfile::Put(const std::string& section, const std::string& key,
                        const std::string& text) {
  if (Entry* entry = Find(section, key)) {
    entry->text = text;
  } else {
    entries_.push_back(Entry{section, key, text});
  }
}

bool MemoryProfile::Get(const std::string& section, const std::string& key,
                        std::string* text) const {
  const Entry* entry = Find(section, key);
  if (entry && text) *text = entry->text;
  return entry != nullptr;
}

void MemoryProfile::Remove(const std::string& section, const std::string& key) {
  entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                [&](const Entry& entry) {
                                  return SameName(entry.section, section) &&
                                         SameName(entry.key, key);
                                }),
                 entries_.end());
}

}  // namespace qel::mem
