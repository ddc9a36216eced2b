#include "app/line_reader.h"

#include <cstring>

#include "translate/bytes.h"

namespace {

// Bit i set where block[i] ends a line or the input (LF or 0x1A), for the
// kStopBlock bytes from `block`: one search for both, no call per line.
std::uint64_t line_stops(const char* block) {
  std::uint64_t stops = 0;
  for (std::size_t i = 0; i < kStopBlock; i += kMaskBytes) {
    unsigned hits = byte_mask(block + i, '\n') | byte_mask(block + i, 0x1A);
    stops |= std::uint64_t{hits} << i;
  }
  return stops;
}

// Refills the buffer; false at end of input or on a read error.
bool refill(LineReader& reader) {
  if (reader.done) return false;
  reader.pos = 0;
  reader.end = std::fread(reader.buffer, 1, LineReader::kChunk, reader.file);
  if (reader.end == 0) {
    reader.done = true;
    return false;
  }
  // The bytes past the end are looked at with the last block, never used:
  // zeroed, so that no tool sees them read before they were written.
  std::memset(reader.buffer + reader.end, 0, kStopBlock);
  reader.block = 0;
  reader.stops = line_stops(reader.buffer);
  return true;
}

// The position of the next LF at or after `pos`, or `end` when the buffer
// holds none. The first 0x1A ends the input: `end` is moved to it.
std::size_t next_stop(LineReader& reader) {
  for (;;) {
    if (reader.stops != 0) {
      std::size_t at = reader.block + lowest_bit(reader.stops);
      reader.stops &= reader.stops - 1;
      if (at >= reader.end) break;
      if (reader.buffer[at] == '\n') return at;
      // Ctrl+Z ends a text file: keep only what comes before it.
      reader.end = at;
      reader.done = true;
      break;
    }
    reader.block += kStopBlock;
    if (reader.block >= reader.end) break;
    reader.stops = line_stops(reader.buffer + reader.block);
  }
  reader.stops = 0;
  reader.block = reader.end;
  return reader.end;
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
    std::size_t lf = next_stop(reader);
    std::size_t length = lf - reader.pos;
    if (lf == reader.end) {
      // No LF in what the buffer holds (up to a 0x1A, if any): gather it
      // and read on.
      if (length > 0) {
        if (!gathering) reader.long_line.clear();
        reader.long_line.append(start, length);
        gathering = true;
      }
      reader.pos = reader.end;
      continue;
    }
    reader.pos = lf + 1;
    if (!gathering) {
      line = without_cr(std::string_view(start, length));
      return true;
    }
    reader.long_line.append(start, length);
    line = without_cr(reader.long_line);
    return true;
  }
}
