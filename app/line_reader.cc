#include "app/line_reader.h"

#include <cstring>

#include "translate/bytes.h"

namespace tenapi {

namespace {

// Bit i set where block[i] ends a line or the input (LF or 0x1A), for the
// kStopBlock bytes from `block`: one search for both, no call per line.
std::uint64_t line_stops(const char* block) {
  std::uint64_t stops = 0;
  for (std::size_t i = 0; i < LineReader::kStopBlock; i += kMaskBytes) {
    unsigned hits = byte_mask(block + i, '\n') | byte_mask(block + i, 0x1A);
    stops |= std::uint64_t{hits} << i;
  }
  return stops;
}

// The line without the CR that stood right before its LF.
std::string_view without_cr(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

}  // namespace

LineReader::LineReader(std::FILE* file, std::size_t chunk)
    : file_(file),
      chunk_((chunk + kStopBlock - 1) / kStopBlock * kStopBlock),
      // Not value-initialised: the buffer need not be zeroed.
      buffer_(new char[chunk_ + kStopBlock]) {}

bool LineReader::refill() {
  if (done_) return false;
  pos_ = 0;
  end_ = std::fread(buffer_.get(), 1, chunk_, file_);
  if (end_ == 0) {
    done_ = true;
    return false;
  }
  // The bytes past the end are looked at with the last block, never used:
  // zeroed, so that no tool sees them read before they were written.
  std::memset(buffer_.get() + end_, 0, kStopBlock);
  block_ = 0;
  stops_ = line_stops(buffer_.get());
  return true;
}

std::size_t LineReader::next_stop() {
  for (;;) {
    if (stops_ != 0) {
      std::size_t at = block_ + lowest_bit(stops_);
      stops_ &= stops_ - 1;
      if (at >= end_) break;
      if (buffer_[at] == '\n') return at;
      // Ctrl+Z ends a text file: keep only what comes before it.
      end_ = at;
      done_ = true;
      break;
    }
    block_ += kStopBlock;
    if (block_ >= end_) break;
    stops_ = line_stops(buffer_.get() + block_);
  }
  stops_ = 0;
  block_ = end_;
  return end_;
}

bool LineReader::next(std::string_view& line) {
  // Most lines end within the buffer and are delivered as a view into it;
  // one that runs past its end is gathered in long_line.
  bool gathering = false;
  for (;;) {
    while (pos_ == end_) {
      if (!refill()) {
        line = long_line_;
        return gathering;
      }
    }
    const char* start = buffer_.get() + pos_;
    std::size_t lf = next_stop();
    std::size_t length = lf - pos_;
    if (lf == end_) {
      // No LF in what the buffer holds (up to a 0x1A, if any): gather it
      // and read on.
      if (length > 0) {
        if (!gathering) long_line_.clear();
        long_line_.append(start, length);
        gathering = true;
      }
      pos_ = end_;
      continue;
    }
    pos_ = lf + 1;
    if (!gathering) {
      line = without_cr(std::string_view(start, length));
      return true;
    }
    long_line_.append(start, length);
    line = without_cr(long_line_);
    return true;
  }
}

}  // namespace tenapi
