// Where the outline of one analysis goes, and writing it there.
#ifndef TENAPI_OUTPUT_OUTPUT_H_
#define TENAPI_OUTPUT_OUTPUT_H_

#include <string>

#include "analysis/outline.h"
#include "output/file_system.h"
#include "output/published.h"

namespace tenapi {

// The typed input path up to its last backslash, then "structure.txt".
std::string output_path(std::string path);

// Writes the file with the rendered outline (render_outline) through
// `disk`. kExists when the name is taken, before or while it is written:
// the other file is left as it is. kFailed when it cannot be written.
// Either way nothing of it is left behind.
Published write_structure(Disk& disk, const std::string& path, const Outline& lines);

}  // namespace tenapi

#endif  // TENAPI_OUTPUT_OUTPUT_H_
