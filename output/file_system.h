// The file-system calls that writing structure.txt makes, as one object,
// Disk: its functions are the system's own (file_system-posix.cc,
// file_system-win32.cc), one virtual function for each kind of call, so
// that a test can wrap any of them and see what the writer makes of its
// failure. Names are UTF-8 on Windows.
#ifndef TENAPI_OUTPUT_FILE_SYSTEM_H_
#define TENAPI_OUTPUT_FILE_SYSTEM_H_

#include <cstddef>
#include <cstdint>
#include <string>

#include "output/published.h"

namespace tenapi {

// An open file: a descriptor, or on Windows a HANDLE.
using FileHandle = std::intptr_t;
constexpr FileHandle kNoFile = -1;

// A file's name, with the form the system takes made once (UTF-16 on
// Windows; elsewhere the bytes serve as they are), so that the file can be
// removed later with no memory to spare, as from a destructor.
struct SystemName {
  std::string name;
  std::wstring wide;
};

// `name` with its system form; throws std::bad_alloc.
SystemName system_name(const std::string& name);

// The folder that holds `name`, as the system names it.
std::string folder_of(const std::string& name);

class Disk {
 public:
  Disk() = default;
  virtual ~Disk() = default;
  Disk(const Disk&) = delete;
  Disk& operator=(const Disk&) = delete;

  // True when something (a file, a folder, a link) has this name; a check
  // that fails says there is none.
  virtual bool exists(const std::string& name);

  // A new file without any name in `folder`, open for reading and
  // writing; kNoFile where the system makes none.
  virtual FileHandle create_unnamed(const std::string& folder);

  // Creates `name`, which must not exist yet, open for reading and writing
  // with the usual rights; kNoFile when it cannot, with `taken` set when
  // something has that name.
  virtual FileHandle create_new(const SystemName& name, bool& taken);

  // Writes all `size` bytes; false when they cannot all be written.
  virtual bool write(FileHandle file, const char* bytes, std::size_t size);

  // Flushes what was written to the disk itself.
  virtual bool flush(FileHandle file);

  virtual bool close(FileHandle file);

  // The ways to give a complete file a name without replacing what has
  // it, each kExists when the name is taken and kFailed when it did not
  // work: a second name for the file (unnamed, or by its `temporary` name);
  // its temporary name changed; its bytes copied into a new file.
  virtual Published link(FileHandle file, const SystemName& temporary, const std::string& name);
  virtual Published move(const SystemName& temporary, const std::string& name);
  virtual Published copy(FileHandle file, const std::string& name);

  // Removes the file `name`, needing no memory; false when it cannot.
  virtual bool remove(const SystemName& name);

  // Flushes the entries of `folder` to disk, so that a new name survives a
  // power cut; the name is there either way.
  virtual bool sync_folder(const std::string& folder);

  // Gives the complete, flushed `file` the name `name` by the ways this
  // system has, in turn, never in place of an existing file. `temporary`
  // is its name so far (empty when it has none), cleared when the file no
  // longer has it. Where an open file cannot be moved, `file` is closed
  // and set to kNoFile.
  Published give_name(FileHandle& file, SystemName& temporary, const std::string& name);
};

}  // namespace tenapi

#endif  // TENAPI_OUTPUT_FILE_SYSTEM_H_
