#include "platform/memory/gbk_codec.h"

#ifdef _WIN32

extern "C" {
__declspec(dllimport) int __stdcall MultiByteToWideChar(unsigned int, unsigned long, const char*,
                                                        int, wchar_t*, int);
__declspec(dllimport) int __stdcall WideCharToMultiByte(unsigned int, unsigned long, const wchar_t*,
                                                        int, char*, int, const char*, int*);
}

namespace qel::mem {

namespace {

constexpr unsigned int kUtf8 = 65001;
constexpr unsigned int kGbk = 936;

std::string Convert(const std::string& text, unsigned int from, unsigned int to) {
  if (text.empty()) return text;
  int length = static_cast<int>(text.size());
  int wide = MultiByteToWideChar(from, 0, text.data(), length, nullptr, 0);
  std::wstring buffer(static_cast<std::size_t>(wide), L'\0');
  MultiByteToWideChar(from, 0, text.data(), length, &buffer[0], wide);
  int bytes = WideCharToMultiByte(to, 0, buffer.data(), wide, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(to, 0, buffer.data(), wide, &out[0], bytes, nullptr, nullptr);
  return out;
}

}  // namespace

std::string Utf8ToGbk(const std::string& utf8) { return Convert(utf8, kUtf8, kGbk); }
std::string GbkToUtf8(const std::string& gbk) { return Convert(gbk, kGbk, kUtf8); }

}  // namespace qel::mem

#else

#include <iconv.h>

#include <cerrno>

namespace qel::mem {

namespace {

// Bytes of the UTF-8 sequence that starts with lead (1 for a stray byte).
std::size_t Utf8SequenceLength(unsigned char lead) {
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
  if (lead >= 0xC2) return 2;
  return 1;
}

std::string Convert(const std::string& text, const char* from, const char* to, bool fromUtf8) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(text.size(), '?');
  std::string out;
  char chunk[256];
  char* in = const_cast<char*>(text.data());
  std::size_t inLeft = text.size();
  while (inLeft > 0) {
    char* outPtr = chunk;
    std::size_t outLeft = sizeof(chunk);
    std::size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    out.append(chunk, static_cast<std::size_t>(outPtr - chunk));
    if (result != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
    // An invalid or unmappable character becomes '?', one per UTF-16 unit it
    // would take, as WideCharToMultiByte gives it.
    std::size_t skip = 1;
    if (fromUtf8) {
      // The lead byte and only the continuation bytes that belong to it.
      std::size_t length = Utf8SequenceLength(static_cast<unsigned char>(*in));
      while (skip < length && skip < inLeft &&
             (static_cast<unsigned char>(in[skip]) & 0xC0) == 0x80) {
        ++skip;
      }
    }
    if (errno == EINVAL && !fromUtf8) skip = inLeft;
    out += skip == 4 ? "??" : "?";
    in += skip;
    inLeft -= skip;
  }
  iconv_close(cd);
  return out;
}

}  // namespace

std::string Utf8ToGbk(const std::string& utf8) { return Convert(utf8, "UTF-8", "CP936", true); }

std::string GbkToUtf8(const std::string& gbk) { return Convert(gbk, "CP936", "UTF-8", false); }

}  // namespace qel::mem

#endif
