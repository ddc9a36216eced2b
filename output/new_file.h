// A new file that gets its name only once it is complete and on disk.
#ifndef TENAPI_OUTPUT_NEW_FILE_H_
#define TENAPI_OUTPUT_NEW_FILE_H_

#include <cstddef>
#include <string>

#include "analysis/outline.h"
#include "output/file_system.h"
#include "output/published.h"

namespace tenapi {

// A new file written out of sight through `disk`, in the folder of `name`:
// without any name where the system allows it, else under a temporary name
// beside it that says what it is. It gets `name` only once it is complete
// and on disk, and never in place of an existing file. Whatever is not
// published is removed, so a failed or interrupted write leaves no partial
// file. Writes are gathered into parts of kPart bytes.
class NewFile : public PartSink {
 public:
  static constexpr std::size_t kPart = std::size_t{1} << 16;

  NewFile(Disk& disk, const std::string& name);
  ~NewFile();
  NewFile(const NewFile&) = delete;
  NewFile& operator=(const NewFile&) = delete;

  // False when no file could be made.
  bool made() const { return file_ != kNoFile; }

  // Writes out what is gathered, flushes the file to disk and gives it its
  // name: kExists when the name was taken meanwhile (the other file is
  // left as it is), kFailed on any other failure. Either way the temporary
  // file is gone, unless it cannot be removed.
  Published publish();

 private:
  // Writes one part to the file; false when it cannot.
  bool put(const char* bytes, std::size_t size) override;

  Disk& disk_;
  std::string name_;
  // The folder of name_, found before anything is written, so that nothing
  // can fail for want of memory once the file has its name.
  std::string folder_;
  // The file's temporary name; empty while it has none.
  SystemName temporary_;
  FileHandle file_ = kNoFile;
  // A write failed: the file can no longer be published.
  bool failed_ = false;
};

}  // namespace tenapi

#endif  // TENAPI_OUTPUT_NEW_FILE_H_
