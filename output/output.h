// Where the outline goes, and writing it there.
#ifndef TENAPI_OUTPUT_OUTPUT_H_
#define TENAPI_OUTPUT_OUTPUT_H_

#include <array>
#include <cstddef>
#include <string>

// Number of entries in the line buffer that collects the outline.
constexpr std::size_t kLineBufferSize = 1516;
// Number of entries, from the first, that the output file holds.
constexpr std::size_t kOutputLines = 198;

// The outline lines of one analysis, from index 0 upward.
using LineBuffer = std::array<std::string, kLineBufferSize>;

// The typed input path up to its last backslash, then "structure.txt".
std::string output_path(std::string path);
// Creates the file with the first 198 entries, each ending in CR LF. On any
// failure shows screen 4, waits for Enter and returns false.
bool write_structure(std::string path, const LineBuffer& lines);

#endif  // TENAPI_OUTPUT_OUTPUT_H_
