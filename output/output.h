// The outline of one analysis, where it goes, and writing it there.
#ifndef TENAPI_OUTPUT_OUTPUT_H_
#define TENAPI_OUTPUT_OUTPUT_H_

#include <array>
#include <cstddef>
#include <string>

#include "output/new_file.h"

namespace tenapi {

// Number of outline lines, from the first, that the output file holds.
constexpr std::size_t kOutputLines = 198;

// One line of the outline: its text, and the nesting depth whose
// indentation is written in front of it as the file is written.
struct OutlineLine {
  int depth = 0;
  std::string text;
};

// The outline lines of one analysis that reach the file, from index 0.
using Outline = std::array<OutlineLine, kOutputLines>;

// The typed input path up to its last backslash, then "structure.txt".
std::string output_path(std::string path);

// Writes the file with the 198 lines, each indented by two blanks per
// level of its depth and ending in CR LF. kExists when the name is taken,
// before or while it is written: the other file is left as it is. kFailed
// when it cannot be written. Either way nothing of it is left behind.
Published write_structure(const std::string& path, const Outline& lines);

}  // namespace tenapi

#endif  // TENAPI_OUTPUT_OUTPUT_H_
