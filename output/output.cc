#include "output/output.h"

#include <cstdio>

#include "console/platform.h"

namespace tenapi {

namespace {

// Blanks enough for most indentations in one write.
constexpr std::size_t kBlankRun = 4096;

// Writes 2 * depth blanks; false when a write fails.
bool write_indent(std::FILE* file, int depth) {
  static const std::string blanks(kBlankRun, ' ');
  std::size_t left = depth > 0 ? 2 * static_cast<std::size_t>(depth) : 0;
  while (left > 0) {
    std::size_t n = left < kBlankRun ? left : kBlankRun;
    if (std::fwrite(blanks.data(), 1, n, file) != n) return false;
    left -= n;
  }
  return true;
}

// Writes the lines with CR LF ends; false when any write fails.
bool write_lines(std::FILE* file, const LineBuffer& lines) {
  for (const OutlineLine& line : lines) {
    if (!write_indent(file, line.depth) ||
        std::fwrite(line.text.data(), 1, line.text.size(), file) != line.text.size() ||
        std::fwrite("\r\n", 1, 2, file) != 2 || std::fflush(file) != 0) {
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

bool write_structure(std::string path, const LineBuffer& lines) {
  // Created exclusively, so an existing file is never touched, even one
  // that appears while the input is being read.
  std::FILE* file = create_new_file(path);
  if (file == nullptr) return false;
  bool written = write_lines(file, lines);
  if (std::fclose(file) != 0) written = false;
  if (written) return true;
  // The file is ours and incomplete: leave nothing that looks like a result.
  remove_file(path);
  return false;
}

}  // namespace tenapi
