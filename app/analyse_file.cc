#include "app/analyse_file.h"

#include <memory>
#include <new>

#include "analysis/analysis.h"
#include "input/input.h"
#include "output/output.h"

namespace tenapi {

FileOutcome analyse_file(Disk& disk, const std::string& name) {
  // Memory running out means the input could not be read, until the output
  // path is made; from then on, that the outline could not be written.
  FileOutcome no_memory = FileOutcome::kNotRead;
  try {
    InputFile input = open_input(name);
    if (!input) return FileOutcome::kNotRead;
    auto lines = std::make_unique<Outline>();
    LineReader reader(input.get());
    // A file that cannot be read to its end is reported like one that does
    // not open; nothing is written.
    if (!analyse(reader, *lines).complete) return FileOutcome::kNotRead;
    no_memory = FileOutcome::kNotWritten;
    // The input and its reader stay until the end, so that their owners
    // release them on every way out, a bad_alloc included; all that costs
    // is the reader's buffer while the outline is written. An existing
    // file and one that cannot be written look the same.
    Published written = write_structure(disk, output_path(name), *lines);
    return written == Published::kDone ? FileOutcome::kWritten : FileOutcome::kNotWritten;
  } catch (const std::bad_alloc&) {
    // The input file and the new file are released by now.
    return no_memory;
  }
}

}  // namespace tenapi
