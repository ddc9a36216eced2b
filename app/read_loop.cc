#include "app/read_loop.h"

#include <memory>
#include <string>
#include <string_view>

#include "app/line_reader.h"
#include "translate/pipeline.h"

namespace tenapi {

std::size_t read_lines(std::FILE* input, LineBuffer& lines) {
  // Not value-initialised: the buffer need not be zeroed.
  std::unique_ptr<LineReader> reader(new LineReader);
  reader->file = input;
  std::string_view current;
  std::size_t kept = 0;
  // Each line is looked at where the reader holds it; a line that yields
  // nothing costs no copy and no allocation.
  while (next_line(*reader, current)) {
    std::string_view line = translate_view(classify_view(current));
    if (line == "***") continue;
    // Lines past the file's 198 are never written; they still went through
    // the translator above, so that the pipeline's state stays right.
    if (kept < lines.size()) {
      OutlineLine& entry = lines[kept];
      entry.depth = indent_depth;
      // A statement returned from carried_line is moved, not copied: the
      // carried line is emptied right after anyway.
      if (line.data() == carried_line.data()) {
        entry.text = std::move(carried_line);
      } else {
        entry.text = line;
      }
    }
    ++kept;
    carried_line.clear();
  }
  return kept;
}

}  // namespace tenapi
