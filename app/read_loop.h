// The read loop: every line of an input file through the pipeline.
#ifndef TENAPI_APP_READ_LOOP_H_
#define TENAPI_APP_READ_LOOP_H_

#include "input/line_reader.h"
#include "output/output.h"
#include "translate/translator.h"

namespace tenapi {

// Runs every line that `reader` delivers through `translator`, keeping the
// outline lines in `lines` from index 0 while they fit, each with its
// depth. False when the input could not be read to its end. Throws
// std::bad_alloc when a line does not fit in memory.
bool read_lines(LineReader& reader, Translator& translator, Outline& lines);

}  // namespace tenapi

#endif  // TENAPI_APP_READ_LOOP_H_
