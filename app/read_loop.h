// The read loop: every line of an input file through the pipeline.
#ifndef TENAPI_APP_READ_LOOP_H_
#define TENAPI_APP_READ_LOOP_H_

#include <cstddef>
#include <cstdio>

#include "output/output.h"

namespace tenapi {

// Runs every line of `input` through the classifier and the translator,
// keeping the outline lines in `lines` from index 0 while they fit, each
// with the depth it is indented by. Returns the number of outline lines,
// kept or not. Throws std::bad_alloc when a line does not fit in memory.
std::size_t read_lines(std::FILE* input, LineBuffer& lines);

}  // namespace tenapi

#endif  // TENAPI_APP_READ_LOOP_H_
