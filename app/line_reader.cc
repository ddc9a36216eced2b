#include "app/line_reader.h"

#include <cstring>

namespace {

// Refills the buffer; false at end of input, on a read error, or after 0x1A.
bool refill(LineReader& reader) {
  if (reader.done) return false;
  reader.pos = 0;
  reader.end = std::fread(reader.buffer, 1, sizeof reader.buffer, reader.file);
  if (reader.end == 0) {
    reader.done = true;
    return false;
  }
  // Ctrl+Z ends a text file: keep only what comes before it.
  const void* eof = std::memchr(reader.buffer, 0x1A, reader.end);
  if (eof != nullptr) {
    reader.end = static_cast<const char*>(eof) - reader.buffer;
    reader.done = true;
  }
  return true;
}

// The line without the CR that stood right before its LF.
std::string_view without_cr(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

}  // namespace

bool next_line(LineReader& reader, std::string_view& line) {
  // Most lines end within the buffer and are delivered as a view into it;
  // one that runs past its end is gathered in long_line.
  bool gathering = false;
  for (;;) {
    while (reader.pos == reader.end) {
      if (!refill(reader)) {
        line = reader.long_line;
        return gathering;
      }
    }
    const char* start = reader.buffer + reader.pos;
    std::size_t left = reader.end - reader.pos;
    const char* lf = static_cast<const char*>(std::memchr(start, '\n', left));
    if (lf == nullptr) {
      if (!gathering) reader.long_line.clear();
      reader.long_line.append(start, left);
      reader.pos = reader.end;
      gathering = true;
      continue;
    }
    std::size_t length = lf - start;
    reader.pos += length + 1;
    if (!gathering) {
      line = without_cr(std::string_view(start, length));
      return true;
    }
    reader.long_line.append(start, length);
    line = without_cr(reader.long_line);
    return true;
  }
}
