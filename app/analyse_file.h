// The console tool's analysis of a file named at its prompt.
#ifndef TENAPI_APP_ANALYSE_FILE_H_
#define TENAPI_APP_ANALYSE_FILE_H_

#include <string>

#include "output/file_system.h"

namespace tenapi {

// What became of the file, as the console tool tells it.
enum class FileOutcome { kNotRead, kNotWritten, kWritten };

// Opens the file `name`, analyses it, and writes the outline through `disk`
// to the file that output_path names. kNotRead when it cannot be opened or read to its
// end, or memory runs out before the output path is made; kNotWritten when
// the outline file exists or cannot be written, or memory runs out later.
// The input file and the new file are released before it returns.
FileOutcome analyse_file(Disk& disk, const std::string& name);

}  // namespace tenapi

#endif  // TENAPI_APP_ANALYSE_FILE_H_
