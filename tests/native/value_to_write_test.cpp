// The type and bytes an edited row is written with.
#include <gtest/gtest.h>

#include "startup/commit.h"

namespace qel {
namespace {

TEST(ValueToWrite, KeepsTheStoredFormWhereTheTextAllowsElseWritesText) {
  const std::string z("\0", 1);
  const struct {
    StoredValue stored;
    const char* text;
    StoredValue written;
  } cases[] = {
      {{kRegSz, "a.exe"}, "a.exe", {kRegSz, "a.exe"}},  // unchanged: as stored, even without NUL
      {{kRegExpandSz, "a" + z}, "b.exe", {kRegExpandSz, "b.exe" + z}},
      {{kRegNone, ""}, "%windir%\\x.exe", {kRegExpandSz, "%windir%\\x.exe" + z}},
      {{kRegNone, ""}, "100%% a%b c%", {kRegSz, "100%% a%b c%" + z}},
      {{kRegDword, std::string("\x01\0\0\0", 4)}, "2147483647", {kRegDword, std::string("\xFF\xFF\xFF\x7F", 4)}},
      {{kRegDword, std::string("\x01\0\0\0", 4)}, "-2", {kRegDword, std::string("\xFE\xFF\xFF\xFF", 4)}},
      {{kRegDword, std::string("\x01\0\0\0", 4)}, "21474836470", {kRegSz, "21474836470" + z}},
      {{kRegBinary, "\x05"}, "7", {kRegBinary, "\x07"}},
      {{kRegBinary, "\x05"}, "256", {kRegSz, "256" + z}},
      {{kRegBinary, "\x05"}, "-1", {kRegSz, "-1" + z}},
      {{kRegDword, std::string("\x01\0\0\0", 4)}, "x1", {kRegSz, "x1" + z}},
  };
  for (const auto& c : cases) {
    StoredValue written = ValueToWrite(c.stored, c.text);
    EXPECT_EQ(written.type, c.written.type) << c.text;
    EXPECT_EQ(written.bytes, c.written.bytes) << c.text;
  }
}

}  // namespace
}  // namespace qel
