#include "input/line_reader.h"

#include <cstring>

namespace tenapi {

namespace {

// The line without the CR that stood right before its LF, and how it ended.
std::string_view without_cr(std::string_view line, LineReader::End& end) {
  end = !line.empty() && line.back() == '\r' ? LineReader::End::kCrLf : LineReader::End::kLf;
  if (end == LineReader::End::kCrLf) line.remove_suffix(1);
  return line;
}

}  // namespace

LineReader::LineReader(std::FILE* file, std::size_t chunk)
    : file_(file),
      chunk_(chunk > 0 ? chunk : 1),
      // Not value-initialised: the buffer need not be zeroed.
      buffer_(new char[chunk_]) {
  // The reader has its own buffer: stdio's would cost a copy and a look at
  // the file. Should this fail, stdio keeps its buffer and the same bytes come.
  (void)std::setvbuf(file_, nullptr, _IONBF, 0);
}

bool LineReader::refill() {
  if (done_) return false;
  pos_ = 0;
  end_ = std::fread(buffer_.get(), 1, chunk_, file_);
  if (end_ < chunk_) {
    // A short read is the end of the file only when the stream says so: the
    // Windows C runtime does not always set the error flag on a failed read.
    done_ = true;
    failed_ = std::ferror(file_) != 0 || std::feof(file_) == 0;
    if (failed_ || end_ == 0) return false;
  }
  // Ctrl+Z ends a text file: keep only what comes before it.
  if (const void* stop = std::memchr(buffer_.get(), 0x1A, end_)) {
    end_ = static_cast<std::size_t>(static_cast<const char*>(stop) - buffer_.get());
    done_ = true;
  }
  return true;
}

std::size_t LineReader::next_stop() {
  const void* lf = std::memchr(buffer_.get() + pos_, '\n', end_ - pos_);
  return lf != nullptr ? static_cast<std::size_t>(static_cast<const char*>(lf) - buffer_.get())
                       : end_;
}

bool LineReader::next(std::string_view& line) {
  // Most lines end within the buffer and are delivered as a view into it;
  // one that runs past its end is gathered in long_line.
  bool gathering = false;
  for (;;) {
    while (pos_ == end_) {
      if (!refill()) {
        line = long_line_;
        line_end_ = End::kInput;
        return gathering && !failed_;
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
      line = without_cr(std::string_view(start, length), line_end_);
      return true;
    }
    long_line_.append(start, length);
    line = without_cr(long_line_, line_end_);
    return true;
  }
}

}  // namespace tenapi
