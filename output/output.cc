#include "output/output.h"

#include <cstdio>
#include <cstring>

#include "output/file_system.h"

namespace tenapi {

namespace {

// Blanks enough for most indentations in one write.
constexpr std::size_t kBlankRun = 4096;

// Writes 2 * depth blanks; false when a write fails.
bool write_indent(std::FILE* file, int depth) {
  std::size_t left = depth > 0 ? 2 * static_cast<std::size_t>(depth) : 0;
  if (left == 0) return true;
  char blanks[kBlankRun];
  std::memset(blanks, ' ', left < kBlankRun ? left : kBlankRun);
  while (left > 0) {
    std::size_t n = left < kBlankRun ? left : kBlankRun;
    if (std::fwrite(blanks, 1, n, file) != n) return false;
    left -= n;
  }
  return true;
}

// Writes the lines with CR LF ends; false when any write fails.
bool write_lines(std::FILE* file, const Outline& lines) {
  for (const OutlineLine& line : lines) {
    if (!write_indent(file, line.depth) ||
        std::fwrite(line.text.data(), 1, line.text.size(), file) != line.text.size() ||
        std::fwrite("\r\n", 1, 2, file) != 2) {
      return false;
    }
  }
  return true;
}

}  // namespace

std::string output_path(std::string path) {
  // No backslash: npos + 1 wraps to 0 and the whole path is dropped.
  path.erase(path.rfind('\\') + 1);
  path += "structure.txt";
  return path;
}

Published write_structure(const std::string& path, const Outline& lines) {
  // Checked first, so that an existing file costs no write at all.
  if (file_exists(path)) return Published::kExists;
  // Written out of sight and named only when complete: a killed process
  // or a power cut never leaves a partial structure.txt.
  NewFile file(path);
  if (file.stream() == nullptr || !write_lines(file.stream(), lines)) return Published::kFailed;
  return file.publish();
}

}  // namespace tenapi
