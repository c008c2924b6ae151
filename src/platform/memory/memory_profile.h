// Win.ini in memory: sections of keys, both matched case-insensitively.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "platform/memory/call_meter.h"
#include "platform/registry.h"

namespace qel::mem {

class MemoryProfile : public ProfileApi {
 public:
  explicit MemoryProfile(CallMeter* meter = nullptr) : meter_(meter) {}

  // Cuts a long text to the buffer without splitting a Chinese character.
  std::uint32_t GetProfileString(const std::string& section, const std::string& key,
                                 const std::string& fallback, char* buffer,
                                 std::uint32_t size) override;
  // A null text deletes the key and reports false when there was none.
  bool WriteProfileString(const std::string& section, const std::string& key,
                          const char* text) override;

  // Test-side controls: not platform calls, never metered.
  void Put(const std::string& section, const std::string& key, const std::string& text);
  bool Get(const std::string& section, const std::string& key, std::string* text) const;
  void Remove(const std::string& section, const std::string& key);

 private:
  static std::string Id(const std::string& section, const std::string& key);

  CallMeter* meter_;
  std::map<std::string, std::string> texts_;  // by section and key, folded
};

}  // namespace qel::mem
