// The shipped notes file is the GBK, CR LF form of the reviewed source, and
// every block starts with a lower-case name as the note lookup expects.
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "platform/memory/gbk_codec.h"

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(ProcessNotes, FileIsTheGbkCrLfFormOfTheSourceInBlocksOfALowerCaseName) {
  const std::string source = ReadAll(QEL_SOURCE_DIR "/data/process-notes.txt");
  std::string expected;
  for (char c : source) expected += c == '\n' ? std::string("\r\n") : std::string(1, c);
  EXPECT_EQ(qel::mem::GbkToUtf8(ReadAll(QEL_SOURCE_DIR "/data/process.dll")), expected) << "run tools/gbk-text";
  for (std::size_t at = 0; at < source.size(); at = source.find("\n\n", at) + 2) {
    const std::string name = source.substr(at, source.find('\n', at) - at);
    ASSERT_TRUE(!name.empty() && name.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ") == name.npos && name.back() != ' ')
        << "after " << at;
  }
}

}  // namespace
