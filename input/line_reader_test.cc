#include "input/line_reader.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace tenapi {
namespace {

// Every line the reader delivers for a file holding `bytes`.
std::vector<std::string> read_all(const std::string& bytes) {
  std::FILE* file = std::tmpfile();
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::rewind(file);
  LineReader reader(file);
  std::vector<std::string> lines;
  for (std::string_view line; reader.next(line);) lines.emplace_back(line);
  std::fclose(file);
  return lines;
}

using Lines = std::vector<std::string>;

TEST(NextLine, TextModeRules) {
  EXPECT_EQ(read_all(""), Lines{});
  EXPECT_EQ(read_all("a\nb\n"), (Lines{"a", "b"}));
  EXPECT_EQ(read_all("a\nb"), (Lines{"a", "b"}));
  EXPECT_EQ(read_all("\n\n"), (Lines{"", ""}));
  // Only a CR right before the LF is dropped.
  EXPECT_EQ(read_all("a\r\nb\r\n"), (Lines{"a", "b"}));
  EXPECT_EQ(read_all("a\r\r\nb\rc\r"), (Lines{"a\r", "b\rc\r"}));
  EXPECT_EQ(read_all("\r\r\r"), (Lines{"\r\r\r"}));
  // The first 0x1A ends the input; what stands before it is still a line.
  EXPECT_EQ(read_all("a\nb\x1a"
                     "c\nd\n"),
            (Lines{"a", "b"}));
  EXPECT_EQ(read_all("a\n\x1a\n"), (Lines{"a"}));
  EXPECT_EQ(read_all("\x1a"), Lines{});
  // NUL bytes are ordinary bytes.
  EXPECT_EQ(read_all(std::string("a\0b\n", 4)), (Lines{std::string("a\0b", 3)}));
}

TEST(NextLine, LinesAcrossBufferRefills) {
  const std::size_t chunk = LineReader::kChunk;
  // A line longer than the buffer, a CR LF split across two refills, and
  // a 0x1A in a later refill.
  std::string longline(chunk * 2 + 5, 'x');
  std::string split(chunk - 1, 'y');
  std::string bytes = longline + "\n" + split + "\r\nz\n";
  bytes += std::string(chunk, 'w') + "\x1a" + "ignored\n";
  Lines lines = read_all(bytes);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], longline);
  EXPECT_EQ(lines[1], split);
  EXPECT_EQ(lines[2], "z");
  EXPECT_EQ(lines[3], std::string(chunk, 'w'));
}

TEST(NextLine, LineEndsAtEveryOffset) {
  // Lines of every length up to 199, so that line ends fall at every
  // offset of any block that a search may take at once.
  Lines expected;
  std::string bytes;
  for (std::size_t length = 0; length < 200; ++length) {
    expected.push_back(std::string(length, static_cast<char>('a' + length % 26)));
    bytes += expected.back() + (length % 3 == 0 ? "\r\n" : "\n");
  }
  EXPECT_EQ(read_all(bytes), expected);
  // A 0x1A far into the file ends the input there.
  std::string before = bytes.substr(0, 1000);
  EXPECT_EQ(read_all(before + "\x1a" + bytes.substr(1000)), read_all(before));
}

TEST(NextLine, ReadErrorIsNotTheEnd) {
  std::FILE* file = std::tmpfile();  // its descriptor closed under it: reads fail
  ASSERT_EQ(close(fileno(file)), 0);
  LineReader reader(file);
  std::string_view line;
  EXPECT_TRUE(!reader.next(line) && reader.failed());
  std::fclose(file);
}

}  // namespace
}  // namespace tenapi
