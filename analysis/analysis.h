// One input through the pipeline: its lines read, translated and kept as the
// outline, and, for the console tool, structure.txt written beside it.
#ifndef TENAPI_ANALYSIS_ANALYSIS_H_
#define TENAPI_ANALYSIS_ANALYSIS_H_

#include <cstddef>
#include <string>

#include "input/line_reader.h"
#include "output/outline.h"

namespace tenapi {

// What the lines of one input gave.
struct Analysis {
  // The input was read to its end; else the outline is not the file's.
  bool read = false;
  // Outline lines made, also those past the ones the outline keeps.
  std::size_t made = 0;
};

// Runs every line that `reader` delivers through a fresh translator, keeping
// the outline lines in `lines` from index 0 while they fit, each with its
// depth. Throws std::bad_alloc when a line does not fit in memory.
Analysis analyse(LineReader& reader, Outline& lines);

// What became of the analysis of an input file.
enum class Analysed { kNotRead, kNotWritten, kWritten };

// Opens the file `name`, analyses it, and writes the outline to the file
// that output_path names. kNotRead when it cannot be opened or read to its
// end, or memory runs out before the output path is made; kNotWritten when
// the outline file exists or cannot be written, or memory runs out later.
// The input file and the new file are released before it returns.
Analysed analyse_file(const std::string& name);

}  // namespace tenapi

#endif  // TENAPI_ANALYSIS_ANALYSIS_H_
