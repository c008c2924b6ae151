#include "platform/win32/win32_profile.h"

#include <windows.h>

// windows.h maps these names to their ...A functions; the interface keeps the
// plain names.
#undef GetProfileString
#undef WriteProfileString

namespace qel::win32 {

std::uint32_t Profile::GetProfileString(const std::string& section, const std::string& key,
                                        const std::string& fallback, char* buffer,
                                        std::uint32_t size) {
  return GetProfileStringA(section.c_str(), key.c_str(), fallback.c_str(), buffer, size);
}

bool Profile::WriteProfileString(const std::string& section, const std::string& key,
                                 const char* text) {
  return WriteProfileStringA(section.c_str(), key.c_str(), text) != FALSE;
}

}  // namespace qel::win32
