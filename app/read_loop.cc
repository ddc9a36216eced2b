#include "app/read_loop.h"

#include <string_view>

namespace tenapi {

bool read_lines(LineReader& reader, Translator& translator, Outline& lines) {
  std::size_t kept = 0;
  // Lines past the file's 198 are never written; they still go through the
  // translator, so that its state stays right, and land here.
  OutlineLine unkept;
  // Each line is looked at where the reader holds it; a line that yields
  // nothing costs no copy and no allocation.
  for (std::string_view line; reader.next(line);) {
    OutlineLine& out = kept < lines.size() ? lines[kept] : unkept;
    if (translator.step(line, out.text, out.depth)) ++kept;
  }
  return !reader.failed();
}

}  // namespace tenapi
