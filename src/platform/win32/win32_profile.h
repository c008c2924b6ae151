// The Win.ini profile calls of kernel32.
#pragma once

#include "platform/registry.h"

namespace qel::win32 {

class Profile : public ProfileApi {
 public:
  std::uint32_t GetProfileString(const std::string& section, const std::string& key,
                                 const std::string& fallback, char* buffer,
                                 std::uint32_t size) override;
  bool WriteProfileString(const std::string& section, const std::string& key,
                          const char* text) override;
};

}  // namespace qel::win32
