#include "analysis/analysis.h"

#include <string_view>

#include "translate/translator.h"

namespace tenapi {

namespace {

// The end tag of the editor's document.
bool closes(std::string_view text) {
  constexpr std::string_view kEnd = "</xml>";
  return text.size() >= kEnd.size() && text.substr(text.size() - kEnd.size()) == kEnd;
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
    // Looked at before the translator, which may move the line's bytes.
    const std::size_t last = line.find_last_not_of(" \t\r");
    if (last != std::string_view::npos) result.closed = closes(line.substr(0, last + 1));
    OutlineLine& out = result.made < lines.size() ? lines[result.made] : unkept;
    if (translator.step(line, out.text, out.depth)) ++result.made;
  }
  result.complete = !reader.failed();
  return result;
}

}  // namespace tenapi
