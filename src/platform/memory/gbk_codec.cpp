#include "platform/memory/memory_platform.h"

#include <algorithm>

#include <iconv.h>

namespace qel::mem {
namespace {

// Both ways go through UTF-16, as Windows converts, so that a character beyond it (two
// units) the target cannot hold gives "??".
constexpr const char *kUtf8 = "UTF-8", *kGbk = "CP936";

// What iconv cannot convert becomes replacement, skipping unit input bytes at a time. No
// conversion here more than doubles the bytes.
std::string Iconv(const std::string& text, const char* from, const char* to, std::size_t unit,
                  const std::string& replacement) {
  iconv_t cd = iconv_open(to, from);
  std::string out(text.size() * 4, '\0');
  char *in = const_cast<char*>(text.data()), *end = &out[0];
  std::size_t inLeft = text.size(), outLeft = out.size();
  while (inLeft > 0 && iconv(cd, &in, &inLeft, &end, &outLeft) == std::size_t(-1)) {
    std::size_t skip = std::min(unit, inLeft);
    end = std::copy(replacement.begin(), replacement.end(), end);
    outLeft -= replacement.size();
    in += skip;
    inLeft -= skip;
  }
  iconv_close(cd);
  out.resize(end - out.data());
  return out;
}

std::string Convert(const std::string& text, const char* from, const char* to) {
  return Iconv(Iconv(text, from, "UTF-16LE", 1, std::string("?\0", 2)), "UTF-16LE", to, 2, "?");
}

}  // namespace

std::string Utf8ToGbk(const std::string& utf8) { return Convert(utf8, kUtf8, kGbk); }
std::string GbkToUtf8(const std::string& gbk) { return Convert(gbk, kGbk, kUtf8); }

}  // namespace qel::mem
