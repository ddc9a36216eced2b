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

}  // namespace

bool next_line(LineReader& reader, std::string& line) {
  line.clear();
  bool any = false;
  for (;;) {
    while (reader.pos == reader.end) {
      if (!refill(reader)) return any;
    }
    const char* start = reader.buffer + reader.pos;
    std::size_t left = reader.end - reader.pos;
    const char* lf = static_cast<const char*>(std::memchr(start, '\n', left));
    if (lf == nullptr) {
      line.append(start, left);
      reader.pos = reader.end;
      any = true;
      continue;
    }
    line.append(start, lf - start);
    reader.pos += lf - start + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
  }
}
