// Reading an input file line by line with the same result on every system.
#ifndef TENAPI_INPUT_LINE_READER_H_
#define TENAPI_INPUT_LINE_READER_H_

#include <cstddef>
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

  // Reads `file`, which stays the caller's and must not have been read from
  // yet (its stdio buffering is turned off), `chunk` bytes at a time.
  explicit LineReader(std::FILE* file, std::size_t chunk = kChunk);

  // Reads the next line into `line`, a view into the reader that holds
  // until the next call. False when no line is left or the file cannot be
  // read (see failed).
  bool next(std::string_view& line);

  // True once a read has failed: the lines delivered are not the whole file.
  bool failed() const { return failed_; }

  // How the line last delivered ended: in CR LF, in LF alone, or with the
  // input (no LF, or a 0x1A).
  enum class End { kCrLf, kLf, kInput };
  End line_end() const { return line_end_; }

 private:
  // Refills the buffer; false at end of input or on a read error.
  bool refill();
  // The position of the next LF at or after pos_, or end_ when the buffer
  // holds none.
  std::size_t next_stop();

  std::FILE* file_;
  std::size_t chunk_;
  // The bytes read, up to end_ (or to the first 0x1A), and the first of
  // them not yet delivered.
  std::unique_ptr<char[]> buffer_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  // Set at the end of the file or at its first 0x1A, or when a read fails.
  bool done_ = false;
  bool failed_ = false;
  // A line that does not end within one buffer's worth is gathered here.
  std::string long_line_;
  End line_end_ = End::kInput;
};

}  // namespace tenapi

#endif  // TENAPI_INPUT_LINE_READER_H_
