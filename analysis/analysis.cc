#include "analysis/analysis.h"

#include <memory>
#include <new>
#include <string_view>

#include "input/input.h"
#include "output/output.h"
#include "translate/translator.h"

namespace tenapi {

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
    OutlineLine& out = result.made < lines.size() ? lines[result.made] : unkept;
    if (translator.step(line, out.text, out.depth)) ++result.made;
  }
  result.read = !reader.failed();
  return result;
}

Analysed analyse_file(const std::string& name) {
  // Memory running out means the input could not be read, until the output
  // path is made; from then on, that the outline could not be written.
  Analysed no_memory = Analysed::kNotRead;
  try {
    InputFile input = open_input(name);
    if (!input) return Analysed::kNotRead;
    auto lines = std::make_unique<Outline>();
    LineReader reader(input.get());
    // A file that cannot be read to its end is reported like one that does
    // not open; nothing is written.
    if (!analyse(reader, *lines).read) return Analysed::kNotRead;
    no_memory = Analysed::kNotWritten;
    // The input stays open while the outline is written. An existing file
    // and one that cannot be written look the same.
    Published written = write_structure(output_path(name), *lines);
    return written == Published::kDone ? Analysed::kWritten : Analysed::kNotWritten;
  } catch (const std::bad_alloc&) {
    // The input file and the new file are released by now.
    return no_memory;
  }
}

}  // namespace tenapi
