// The few file-system calls that differ between Windows and other systems,
// in file_system-posix.cc and file_system-win32.cc. Names are UTF-8 on
// Windows.
#ifndef TENAPI_OUTPUT_FILE_SYSTEM_H_
#define TENAPI_OUTPUT_FILE_SYSTEM_H_

#include <cstdio>
#include <string>

#include "output/published.h"

namespace tenapi {

// A file's name, with the form the system takes made once (UTF-16 on
// Windows; elsewhere the bytes serve as they are), so that the file can be
// removed later with no memory to spare, as from a destructor.
struct SystemName {
  std::string name;
  std::wstring wide;
};

// `name` with its system form; throws std::bad_alloc.
SystemName system_name(const std::string& name);

// True when something (a file, a folder, a link) has this name.
bool file_exists(const std::string& name);

// The folder that holds `name`, as the system names it.
std::string folder_of(const std::string& name);

// A new file without any name in `folder`, open for reading and writing;
// null where the system makes none.
std::FILE* create_unnamed(const std::string& folder);

// Creates `name`, which must not exist yet, open for reading and writing
// with the usual rights; null when it cannot, with `taken` set when
// something has that name.
std::FILE* create_new(const SystemName& name, bool& taken);

// Writes out what `file` buffers and flushes the file to disk.
bool flush_to_disk(std::FILE* file);

// Gives the complete, flushed `file` the name `name`, never in place of an
// existing file. `temporary` is its name so far (empty when it has none),
// cleared when the file no longer has it. Where an open file cannot be
// moved, `file` is closed and set to null.
Published give_name(std::FILE*& file, SystemName& temporary, const std::string& name);

// Removes the file `name`, needing no memory; false when it cannot.
bool remove_file(const SystemName& name);

// Flushes the entries of `folder` to disk where the system allows it, so
// that a new name survives a power cut; the name is there either way.
void sync_folder(const std::string& folder);

}  // namespace tenapi

#endif  // TENAPI_OUTPUT_FILE_SYSTEM_H_
