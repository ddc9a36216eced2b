#include "app/read_loop.h"

#include <memory>
#include <string>
#include <string_view>

#include "app/line_reader.h"
#include "translate/pipeline.h"

std::size_t read_lines(std::FILE* input, LineBuffer& lines) {
  auto reader = std::make_unique<LineReader>();
  reader->file = input;
  std::string current;
  std::size_t kept = 0;
  while (next_line(*reader, current)) {
    std::string line = translate_token(classify_line(current));
    if (std::string_view(line) == "***") continue;
    line = indent_line(std::move(line));
    // Lines past the buffer's end are never written; they are still
    // translated above so that the pipeline's state stays right.
    if (kept < lines.size()) lines[kept] = std::move(line);
    ++kept;
    carried_line.clear();
  }
  return kept;
}
