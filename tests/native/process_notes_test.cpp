// The shipped notes file: GBK with CR LF, made from the reviewed source, in
// blocks the note lookup can read.
#include <algorithm>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "platform/memory/gbk_codec.h"

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(ProcessNotes, FileIsTheGbkCrLfFormOfTheSourceInBlocksOfALowerCaseNameAndAtMostNineLines) {
  const std::string source = ReadAll(QEL_SOURCE_DIR "/data/process-notes.txt");
  std::string expected;
  for (char c : source) expected += c == '\n' ? std::string("\r\n") : std::string(1, c);
  EXPECT_EQ(qel::mem::GbkToUtf8(ReadAll(QEL_SOURCE_DIR "/data/process.dll")), expected) << "run tools/gbk-text";
  std::size_t blocks = 0;
  for (std::size_t at = 0, end; at < source.size(); at = end + 2, ++blocks) {
    end = source.find("\n\n", at);
    ASSERT_NE(end, std::string::npos) << "the last block needs its blank line";
    const std::string block = source.substr(at, end - at + 1), name = block.substr(0, block.find('\n'));
    EXPECT_TRUE(name.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ") == name.npos && name.back() != ' ') << name;
    EXPECT_LE(std::count(block.begin(), block.end(), '\n'), 10) << name;
  }
  EXPECT_GE(blocks, 120u);
}

}  // namespace
