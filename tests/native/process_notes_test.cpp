// The process notes' source is in blocks, each starting with a lower-case
// name as the note lookup expects (the build writes the GBK file from it).
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

TEST(ProcessNotes, EveryBlockStartsWithALowerCaseName) {
  std::ifstream in(QEL_SOURCE_DIR "/data/process-notes.txt", std::ios::binary);
  const std::string source{std::istreambuf_iterator<char>(in), {}};
  ASSERT_GT(source.size(), 1000u);
  for (std::size_t at = 0; at < source.size(); at = source.find("\n\n", at) + 2) {
    const std::string name = source.substr(at, source.find('\n', at) - at);
    ASSERT_TRUE(!name.empty() && name.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ") == name.npos && name.back() != ' ')
        << "after " << at;
  }
}
