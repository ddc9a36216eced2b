// Windows: names are UTF-8 inside the program and UTF-16 for the system. A
// new file is written under a name beside its final one and moved into
// place, which fails when the final name exists. Another program (a virus
// scanner, the search indexer) often holds a file for a moment after it is
// closed: moving or removing it is tried again for about half a second.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <string>

#include "output/file_system.h"
#include "utf16/utf16.h"

namespace tenapi {

namespace {

// Runs `call` until it succeeds, or fails for another reason than a file
// held by someone else, or about half a second has passed; its result, with
// the last error kept for GetLastError.
template <typename Call>
bool patiently(Call call) {
  for (int tries = 1;; ++tries) {
    if (call()) return true;
    DWORD error = GetLastError();
    if ((error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED) || tries == 25) {
      SetLastError(error);
      return false;
    }
    Sleep(20);
  }
}

}  // namespace

SystemName system_name(const std::string& name) { return {name, to_utf16(name, CP_UTF8)}; }

bool file_exists(const std::string& name) {
  return GetFileAttributesW(to_utf16(name, CP_UTF8).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string folder_of(const std::string& name) {
  std::string::size_type separator = name.find_last_of("\\/");
  return separator == std::string::npos ? "." : name.substr(0, separator + 1);
}

std::FILE* create_unnamed(const std::string&) { return nullptr; }

std::FILE* create_new(const SystemName& name, bool& taken) {
  HANDLE handle = CreateFileW(name.wide.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
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
    (void)DeleteFileW(name.wide.c_str());
  }
  return file;
}

bool flush_to_disk(std::FILE* file) {
  // The C runtime hands out a file's handle as an integer.
  // NOLINTNEXTLINE(performance-no-int-to-ptr)
  HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
  return std::fflush(file) == 0 && FlushFileBuffers(handle) != 0;
}

Published give_name(std::FILE*& file, SystemName& temporary, const std::string& name) {
  // The name first: memory running out leaves the file open, to be removed
  // with the NewFile.
  std::wstring to = to_utf16(name, CP_UTF8);
  // Closed before the move: Windows moves no file that is open.
  bool closed = std::fclose(file) == 0;
  file = nullptr;
  if (!closed) return Published::kFailed;
  // Without MOVEFILE_REPLACE_EXISTING the move fails when the name exists,
  // and that is not tried again.
  if (patiently([&] {
        return MoveFileExW(temporary.wide.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
      })) {
    temporary.name.clear();
    temporary.wide.clear();
    return Published::kDone;
  }
  DWORD error = GetLastError();
  return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ? Published::kExists
                                                                     : Published::kFailed;
}

bool remove_file(const SystemName& name) {
  return patiently([&] { return DeleteFileW(name.wide.c_str()) != 0; });
}

// MOVEFILE_WRITE_THROUGH has flushed the new name already.
void sync_folder(const std::string&) {}

}  // namespace tenapi
