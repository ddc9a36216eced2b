// One input through the pipeline: its lines read and translated, and kept
// as the outline that the console tool, the page's core and the fuzz target
// render alike.
#ifndef TENAPI_ANALYSIS_ANALYSIS_H_
#define TENAPI_ANALYSIS_ANALYSIS_H_

#include <cstddef>

#include "analysis/outline.h"
#include "input/line_reader.h"

namespace tenapi {

// What the lines of one input gave.
struct Analysis {
  // The input was read to its end; else the outline is not the file's.
  bool complete = false;
  // Outline lines made, also those past the ones the outline keeps.
  std::size_t made = 0;
  // The document closed: the last line holding anything but blanks, tabs
  // and CR ends in "</xml>". A program cut off half-way does not.
  bool closed = false;
};

// Runs every line that `reader` delivers through a fresh translator, keeping
// the outline lines in `lines` from index 0 while they fit, each with its
// depth. Throws std::bad_alloc when a line does not fit in memory.
Analysis analyse(LineReader& reader, Outline& lines);

}  // namespace tenapi

#endif  // TENAPI_ANALYSIS_ANALYSIS_H_
