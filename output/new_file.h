// A new file that gets its name only once it is complete and on disk.
#ifndef TENAPI_OUTPUT_NEW_FILE_H_
#define TENAPI_OUTPUT_NEW_FILE_H_

#include <cstdio>
#include <string>

#include "output/file_system.h"
#include "output/published.h"

namespace tenapi {

// A new file written out of sight, in the folder of `name`: without any
// name where the system allows it, else under a temporary name beside it
// that says what it is. It gets `name` only once it is complete and on
// disk, and never in place of an existing file. Whatever is not published
// is removed, so a failed or interrupted write leaves no partial file.
class NewFile {
 public:
  explicit NewFile(const std::string& name);
  ~NewFile();
  NewFile(const NewFile&) = delete;
  NewFile& operator=(const NewFile&) = delete;

  // The stream to write the file's bytes to; null when no file could be
  // made.
  std::FILE* stream() const { return stream_; }

  // Flushes the file to disk and gives it its name: kExists when the name
  // was taken meanwhile (the other file is left as it is), kFailed on any
  // other failure. Either way the temporary file is gone.
  Published publish();

 private:
  std::string name_;
  // The folder of name_, found before anything is written, so that nothing
  // can fail for want of memory once the file has its name.
  std::string folder_;
  // The file's temporary name; empty while it has none.
  SystemName temporary_;
  std::FILE* stream_ = nullptr;
};

}  // namespace tenapi

#endif  // TENAPI_OUTPUT_NEW_FILE_H_
