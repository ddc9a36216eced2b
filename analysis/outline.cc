#include "analysis/outline.h"

#include <cstring>
#include <limits>
#include <string_view>

namespace tenapi {

namespace {

// Blanks enough for most indentations in one write.
constexpr std::size_t kBlankRun = 4096;

// Writes 2 * depth blanks; false when a write fails.
bool write_indent(Sink& sink, int depth) {
  std::size_t left = depth > 0 ? 2 * static_cast<std::size_t>(depth) : 0;
  if (left == 0) return true;
  char blanks[kBlankRun];
  std::memset(blanks, ' ', left < kBlankRun ? left : kBlankRun);
  while (left > 0) {
    std::size_t n = left < kBlankRun ? left : kBlankRun;
    if (!sink.write(blanks, n)) return false;
    left -= n;
  }
  return true;
}

}  // namespace

bool render_line(Sink& sink, const OutlineLine& line) {
  return write_indent(sink, line.depth) && sink.write(line.text.data(), line.text.size());
}

bool render_outline(Sink& sink, const Outline& lines) {
  for (const OutlineLine& line : lines) {
    if (!render_line(sink, line) || !sink.write("\r\n", 2)) return false;
  }
  return true;
}

PartSink::PartSink(std::size_t part_size) : part_size_(part_size) { part_.reserve(part_size); }

bool PartSink::write(const char* bytes, std::size_t size) {
  while (size > 0) {
    std::size_t n = size < part_size_ - part_.size() ? size : part_size_ - part_.size();
    part_.insert(part_.end(), bytes, bytes + n);
    bytes += n;
    size -= n;
    if (part_.size() == part_size_ && !flush()) return false;
  }
  return true;
}

bool PartSink::flush() {
  bool put_all = part_.empty() || put(part_.data(), part_.size());
  part_.clear();
  return put_all;
}

std::uint64_t rendered_size(const Outline& lines, std::size_t count) {
  std::uint64_t size = 0;
  for (const OutlineLine& line : lines) {
    if (count-- == 0) break;
    size += 2 * static_cast<std::uint64_t>(line.depth > 0 ? line.depth : 0) + line.text.size() + 2;
  }
  return size;
}

std::size_t lines_with_text(const Outline& lines) {
  std::size_t count = lines.size();
  while (count > 0 && lines[count - 1].text.empty()) --count;
  return count;
}

bool read_outline(LineReader& reader, Outline& lines) {
  std::size_t count = 0;
  for (std::string_view line; reader.next(line); ++count) {
    if (count == lines.size() || reader.line_end() != LineReader::End::kCrLf) return false;
    std::size_t blanks = line.find_first_not_of(' ');
    if (blanks == std::string_view::npos) blanks = line.size();
    // An odd blank is the text's own.
    blanks -= blanks % 2;
    if (blanks / 2 > static_cast<std::size_t>(std::numeric_limits<int>::max())) return false;
    lines[count].depth = static_cast<int>(blanks / 2);
    lines[count].text.assign(line.substr(blanks));
  }
  return count == lines.size() && !reader.failed();
}

}  // namespace tenapi
