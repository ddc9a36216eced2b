// The read loop: every line of an input file through the pipeline.
#ifndef TENAPI_APP_READ_LOOP_H_
#define TENAPI_APP_READ_LOOP_H_

#include <cstddef>
#include <cstdio>

#include "output/output.h"

// Runs every line of `input` through classify_line, translate_token and
// indent_line, storing the kept lines in `lines` from index 0 while they
// fit. Returns the number of lines kept, stored or not.
std::size_t read_lines(std::FILE* input, LineBuffer& lines);

#endif  // TENAPI_APP_READ_LOOP_H_
