// The outline of one analysis, and the bytes of the file that holds it.
#ifndef TENAPI_ANALYSIS_OUTLINE_H_
#define TENAPI_ANALYSIS_OUTLINE_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "input/line_reader.h"

namespace tenapi {

// Number of outline lines, from the first, that the output file holds.
constexpr std::size_t kOutputLines = 198;

// One line of the outline: its text, and the nesting depth whose
// indentation is written in front of it as the file is written.
struct OutlineLine {
  int depth = 0;
  std::string text;
};

// The outline lines of one analysis that reach the file, from index 0.
using Outline = std::array<OutlineLine, kOutputLines>;

// Where rendered bytes go: a new file, the page's parts, memory.
class Sink {
 public:
  // Takes `size` bytes; false when they cannot be taken.
  virtual bool write(const char* bytes, std::size_t size) = 0;

 protected:
  Sink() = default;
  ~Sink() = default;
  Sink(const Sink&) = default;
  Sink& operator=(const Sink&) = default;
};

// A Sink that gathers what it takes into parts of a given size and hands
// each full part, and the last one at flush, to put: a few large writes
// rather than thousands of small ones.
class PartSink : public Sink {
 public:
  bool write(const char* bytes, std::size_t size) override;

  // Hands over what is gathered; false when that fails.
  bool flush();

 protected:
  explicit PartSink(std::size_t part_size);
  ~PartSink() = default;
  PartSink(const PartSink&) = delete;
  PartSink& operator=(const PartSink&) = delete;

  // Takes one part; false when it cannot.
  virtual bool put(const char* bytes, std::size_t size) = 0;

 private:
  std::size_t part_size_;
  std::vector<char> part_;
};

// Writes one line's indentation and text, with no line end; false when a
// write fails.
bool render_line(Sink& sink, const OutlineLine& line);

// Writes the file's bytes to `sink`: the 198 lines, each indented by two
// blanks per level of its depth and ending in CR LF. False when a write
// fails. Indentation goes in runs of up to 4 KiB blanks.
bool render_outline(Sink& sink, const Outline& lines);

// The number of bytes that render_outline writes for the first `count` of
// `lines`.
std::uint64_t rendered_size(const Outline& lines, std::size_t count = kOutputLines);

// The number of lines up to the last that holds any text; the lines after
// it are the blank tail.
std::size_t lines_with_text(const Outline& lines);

// Reads back a file that render_outline wrote, a line at a time from
// `reader`: exactly 198 lines, each ending in CR LF, each line's depth half
// its leading blanks. False, with `lines` partly filled, when the bytes
// are no such file or cannot all be read.
bool read_outline(LineReader& reader, Outline& lines);

}  // namespace tenapi

#endif  // TENAPI_ANALYSIS_OUTLINE_H_
