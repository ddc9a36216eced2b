// Windows: names are UTF-8 inside the program and UTF-16 for the system. A
// new file is written under a name beside its final one and moved into
// place, which fails when the final name exists. Another program (a virus
// scanner, the search indexer) often holds a file for a moment after it is
// closed: moving or removing it is tried again for about half a second.
#include <windows.h>

#include <string>

#include "output/file_system.h"
#include "utf16/utf16.h"

namespace tenapi {

namespace {

// The C runtime and this room hand a HANDLE around as an integer.
// NOLINTNEXTLINE(performance-no-int-to-ptr)
HANDLE handle_of(FileHandle file) { return reinterpret_cast<HANDLE>(file); }

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

std::string folder_of(const std::string& name) {
  std::string::size_type separator = name.find_last_of("\\/");
  return separator == std::string::npos ? "." : name.substr(0, separator + 1);
}

bool Disk::exists(const std::string& name) {
  return GetFileAttributesW(to_utf16(name, CP_UTF8).c_str()) != INVALID_FILE_ATTRIBUTES;
}

FileHandle Disk::create_unnamed(const std::string&) { return kNoFile; }

FileHandle Disk::create_new(const SystemName& name, bool& taken) {
  HANDLE handle = CreateFileW(name.wide.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD error = GetLastError();
  taken = handle == INVALID_HANDLE_VALUE &&
          (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS);
  return reinterpret_cast<FileHandle>(handle);
}

bool Disk::write(FileHandle file, const char* bytes, std::size_t size) {
  while (size > 0) {
    DWORD part = size < (DWORD{1} << 30) ? static_cast<DWORD>(size) : DWORD{1} << 30;
    DWORD written = 0;
    if (WriteFile(handle_of(file), bytes, part, &written, nullptr) == 0 || written == 0) {
      return false;
    }
    bytes += written;
    size -= written;
  }
  return true;
}

bool Disk::flush(FileHandle file) { return FlushFileBuffers(handle_of(file)) != 0; }

bool Disk::close(FileHandle file) { return CloseHandle(handle_of(file)) != 0; }

Published Disk::link(FileHandle, const SystemName&, const std::string&) {
  return Published::kFailed;
}

Published Disk::move(const SystemName& temporary, const std::string& name) {
  std::wstring to = to_utf16(name, CP_UTF8);
  // Without MOVEFILE_REPLACE_EXISTING the move fails when the name exists,
  // and that is not tried again.
  if (patiently([&] {
        return MoveFileExW(temporary.wide.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
      })) {
    return Published::kDone;
  }
  DWORD error = GetLastError();
  return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ? Published::kExists
                                                                     : Published::kFailed;
}

Published Disk::copy(FileHandle, const std::string&) { return Published::kFailed; }

bool Disk::remove(const SystemName& name) {
  return patiently([&] { return DeleteFileW(name.wide.c_str()) != 0; });
}

// MOVEFILE_WRITE_THROUGH has flushed the new name already.
bool Disk::sync_folder(const std::string&) { return true; }

// Closed first: Windows moves no file that is open. Then moved, the one way.
Published Disk::give_name(FileHandle& file, SystemName& temporary, const std::string& name) {
  bool closed = close(file);
  file = kNoFile;
  if (!closed) return Published::kFailed;
  Published moved = move(temporary, name);
  if (moved == Published::kDone) {
    temporary.name.clear();
    temporary.wide.clear();
  }
  return moved;
}

}  // namespace tenapi
