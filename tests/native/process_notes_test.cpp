// The shipped notes file: what the note lookup and its users' editors rely on.
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

#include <gtest/gtest.h>

#include "platform/memory/gbk_codec.h"

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(ProcessNotes, FileIsGbkCrLfBlocksOfALowerCaseNameAndAtMostNineLines) {
  const std::string source = ReadAll(QEL_SOURCE_DIR "/data/process-notes.txt");
  ASSERT_EQ(source.find('\r'), std::string::npos) << "the source keeps LF line ends";
  // Valid GBK, and made from the reviewed source: decoding gives it back, LF as CR LF.
  std::string expected;
  for (char c : source) expected += c == '\n' ? std::string("\r\n") : std::string(1, c);
  EXPECT_EQ(qel::mem::GbkToUtf8(ReadAll(QEL_SOURCE_DIR "/data/process.dll")), expected) << "run tools/gbk-text";

  std::istringstream lines(source);
  std::set<std::string> names, noteLines;
  std::string line, name;
  int notes = -1;  // -1: the next line starts a block
  while (std::getline(lines, line)) {
    EXPECT_LE(qel::mem::Utf8ToGbk(line).size(), 40u) << "too wide for the note box: " << line;
    if (notes < 0) {
      name = line;
      ASSERT_FALSE(name.empty() || name.back() == ' ' || name.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ") != name.npos)
          << "after " << name;
      EXPECT_TRUE(names.insert(name).second) << "second block for " << name;
      notes = 0;
    } else if (line.empty()) {
      notes = -1;
    } else {
      EXPECT_LE(++notes, 9) << name;
      noteLines.insert(line);
    }
  }
  EXPECT_EQ(notes, -1) << "the last block needs its blank line";
  EXPECT_GE(names.size(), 120u);
  // The lookup takes any matching row, so a note line must never read as a name.
  for (const std::string& n : names) EXPECT_EQ(noteLines.count(n), 0u) << n;
}

}  // namespace
