// The outline of one analysis, and the bytes of the file that holds it.
#ifndef TENAPI_ANALYSIS_OUTLINE_H_
#define TENAPI_ANALYSIS_OUTLINE_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

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

// Writes the file's bytes to `file`: the 198 lines, each indented by two
// blanks per level of its depth and ending in CR LF. False when a write
// fails.
bool render_outline(std::FILE* file, const Outline& lines);

// The number of bytes that render_outline writes for `lines`.
std::uint64_t rendered_size(const Outline& lines);

}  // namespace tenapi

#endif  // TENAPI_ANALYSIS_OUTLINE_H_
