#include "analysis/analysis.h"

#include <string_view>

#include "translate/translator.h"

namespace tenapi {

namespace {

// Whether a line that holds anything but blanks, tabs and CR ends the
// editor's document (in "</xml>"): `closed` as it stands after `line`.
// Most lines end in '>', which settles it at once.
void closes(std::string_view line, bool& closed) {
  constexpr char kEnd[] = "</xml>";
  constexpr std::size_t kSize = sizeof kEnd - 1;
  std::size_t end = line.size();
  if (line[end - 1] != '>') {
    while (end > 0 && (line[end - 1] == ' ' || line[end - 1] == '\t' || line[end - 1] == '\r'))
      --end;
    if (end == 0) return;
  }
  // From the end: most lines differ within two bytes.
  std::size_t same = 0;
  while (same < kSize && same < end && line[end - 1 - same] == kEnd[kSize - 1 - same]) ++same;
  closed = same == kSize;
}

}  // namespace

Analysis analyse(LineReader& reader, Outline& lines) {
  // Each analysis starts from a fresh state: no outline is made from what
  // an earlier file left behind.
  Translator translator;
  Analysis result;
  // Lines past the outline's are never written; they still go through the
  // translator, so that its state stays right, and land here.
  OutlineLine unkept;
  // Each line is looked at where the reader holds it; a line that yields
  // nothing costs no copy and no allocation.
  for (std::string_view line; reader.next(line);) {
    if (!line.empty()) closes(line, result.closed);
    OutlineLine& out = result.made < lines.size() ? lines[result.made] : unkept;
    if (translator.step(line, out.text, out.depth)) ++result.made;
  }
  result.complete = !reader.failed();
  return result;
}

}  // namespace tenapi
