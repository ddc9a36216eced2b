// Reading an input file line by line with the same result on every system.
#ifndef TENAPI_APP_LINE_READER_H_
#define TENAPI_APP_LINE_READER_H_

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

// A binary input file and the bytes read from it but not yet delivered.
struct LineReader {
  std::FILE* file = nullptr;
  char buffer[1 << 18];
  std::size_t pos = 0;
  std::size_t end = 0;
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
