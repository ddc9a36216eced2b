// Windows: names are UTF-8 inside the program and UTF-16 for the system. A
// new file is written under a name beside its final one and moved into
// place, which fails when the final name exists.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <new>
#include <string>

#include "output/file_system.h"
#include "utf16/utf16.h"

namespace tenapi {

bool file_exists(const std::string& name) {
  return GetFileAttributesW(to_utf16(name, CP_UTF8).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string folder_of(const std::string& name) {
  std::string::size_type separator = name.find_last_of("\\/");
  return separator == std::string::npos ? "." : name.substr(0, separator + 1);
}

std::FILE* create_unnamed(const std::string&) { return nullptr; }

std::FILE* create_new(const std::string& name, bool& taken) {
  std::wstring wide = to_utf16(name, CP_UTF8);
  HANDLE handle = CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    DWORD error = GetLastError();
    taken = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
    return nullptr;
  }
  taken = false;
  int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_BINARY);
  std::FILE* file = fd < 0 ? nullptr : _fdopen(fd, "w+b");
  if (file == nullptr) {
    // The file made here is empty: nothing is lost if these fail.
    if (fd < 0) {
      (void)CloseHandle(handle);
    } else {
      (void)_close(fd);
    }
    (void)DeleteFileW(wide.c_str());
  }
  return file;
}

bool flush_to_disk(std::FILE* file) {
  // The C runtime hands out a file's handle as an integer.
  // NOLINTNEXTLINE(performance-no-int-to-ptr)
  HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
  return std::fflush(file) == 0 && FlushFileBuffers(handle) != 0;
}

Published give_name(std::FILE*& file, std::string& temporary, const std::string& name) {
  // Both names first: memory running out leaves the file open, to be
  // removed with the NewFile.
  std::wstring from = to_utf16(temporary, CP_UTF8);
  std::wstring to = to_utf16(name, CP_UTF8);
  // Closed before the move: Windows moves no file that is open.
  bool closed = std::fclose(file) == 0;
  file = nullptr;
  if (!closed) return Published::kFailed;
  // Without MOVEFILE_REPLACE_EXISTING the move fails when the name exists.
  if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH)) {
    temporary.clear();
    return Published::kDone;
  }
  DWORD error = GetLastError();
  return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ? Published::kExists
                                                                     : Published::kFailed;
}

bool remove_file(const std::string& name) {
  try {
    return DeleteFileW(to_utf16(name, CP_UTF8).c_str()) != 0;
  } catch (const std::bad_alloc&) {
    // Called from a destructor, which must not throw.
    return false;
  }
}

// MOVEFILE_WRITE_THROUGH has flushed the new name already.
void sync_folder(const std::string&) {}

}  // namespace tenapi
