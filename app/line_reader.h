// Reading an input file line by line with the same result on every system.
#ifndef TENAPI_APP_LINE_READER_H_
#define TENAPI_APP_LINE_READER_H_

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

// Bytes of the buffer searched for line ends at once.
constexpr std::size_t kStopBlock = 64;

// A binary input file and the bytes read from it but not yet delivered.
struct LineReader {
  // Bytes read from the file at a time.
  static constexpr std::size_t kChunk = 1 << 18;
  std::FILE* file = nullptr;
  // One block more than a chunk, so that the block holding the last bytes
  // read can be looked at whole; what lies past `end` is ignored.
  char buffer[kChunk + kStopBlock];
  std::size_t pos = 0;
  std::size_t end = 0;
  // The block of the buffer that `stops` describes, and the bytes in it
  // not yet delivered that end a line or the input (LF, 0x1A), one bit each.
  std::size_t block = 0;
  std::uint64_t stops = 0;
  bool done = false;
  // A line that does not end within one buffer's worth is gathered here.
  std::string long_line;
};

// Reads the next line into `line`, a view into the reader that holds until
// the next call: it ends at LF, a CR right before the LF is dropped, the
// first 0x1A ends the input, and a last line without LF still counts.
// False when no line is left (or the file cannot be read).
bool next_line(LineReader& reader, std::string_view& line);

#endif  // TENAPI_APP_LINE_READER_H_
