// Opening an input file: only files with lines to read are input.
#ifndef TENAPI_INPUT_INPUT_H_
#define TENAPI_INPUT_INPUT_H_

#include <cstdio>
#include <memory>
#include <string>

namespace tenapi {

// Closes a file that was only read: nothing of it can be lost, so the
// status of the close is of no use.
struct CloseInput {
  void operator()(std::FILE* file) const { (void)std::fclose(file); }
};

// An input file, closed when it goes.
using InputFile = std::unique_ptr<std::FILE, CloseInput>;

// Opens a file (or, on POSIX systems, a pipe) for binary reading; null for
// a folder, a device or a failure. Names are UTF-8 on Windows.
InputFile open_input(const std::string& name);

}  // namespace tenapi

#endif  // TENAPI_INPUT_INPUT_H_
