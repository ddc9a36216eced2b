#include "output/output.h"

#include <cstdio>

#include "app/platform.h"
#include "app/screens.h"

namespace {

// Tells the user the file was not written and waits for Enter.
bool refuse() {
  screen_code = 4;
  show_screen(screen_code);
  wait_for_enter();
  return false;
}

// Writes the lines with CR LF ends; false when any write fails.
bool write_lines(std::FILE* file, const LineBuffer& lines) {
  for (std::size_t i = 0; i < kOutputLines; ++i) {
    const std::string& line = lines[i];
    if (std::fwrite(line.data(), 1, line.size(), file) != line.size() ||
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
  if (file == nullptr) return refuse();
  bool written = write_lines(file, lines);
  if (std::fclose(file) != 0) written = false;
  if (written) return true;
  // The file is ours and incomplete: leave nothing that looks like a result.
  std::remove(path.c_str());
  return refuse();
}
