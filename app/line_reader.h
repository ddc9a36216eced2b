// Reading an input file line by line with the same result on every system.
#ifndef TENAPI_APP_LINE_READER_H_
#define TENAPI_APP_LINE_READER_H_

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace tenapi {

// Reads a binary input file line by line, in its own buffer: a line ends
// at LF, a CR right before the LF is dropped, the first 0x1A ends the
// input, and a last line without LF still counts.
class LineReader {
 public:
  // Bytes read from the file at a time, unless told otherwise.
  static constexpr std::size_t kChunk = 1 << 18;
  // Bytes searched for line ends at once; a chunk is a whole number of them.
  static constexpr std::size_t kStopBlock = 64;

  // Reads `file`, which stays the caller's, `chunk` bytes at a time
  // (rounded up to a whole number of stop blocks).
  explicit LineReader(std::FILE* file, std::size_t chunk = kChunk);

  // Reads the next line into `line`, a view into the reader that holds
  // until the next call. False when no line is left (or the file cannot be
  // read).
  bool next(std::string_view& line);

 private:
  // Refills the buffer; false at end of input or on a read error.
  bool refill();
  // The position of the next LF at or after pos_, or end_ when the buffer
  // holds none. The first 0x1A ends the input: end_ is moved to it.
  std::size_t next_stop();

  std::FILE* file_;
  std::size_t chunk_;
  // One stop block more than a chunk, so that the block holding the last
  // bytes read can be looked at whole; what lies past end_ is ignored.
  std::unique_ptr<char[]> buffer_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  // The block of the buffer that stops_ describes, and the bytes in it not
  // yet delivered that end a line or the input (LF, 0x1A), one bit each.
  std::size_t block_ = 0;
  std::uint64_t stops_ = 0;
  bool done_ = false;
  // A line that does not end within one buffer's worth is gathered here.
  std::string long_line_;
};

}  // namespace tenapi

#endif  // TENAPI_APP_LINE_READER_H_
