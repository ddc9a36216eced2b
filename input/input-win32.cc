// Windows: disk files are input, opened by their UTF-16 names.
#include <io.h>
#include <windows.h>

#include "input/input.h"
#include "utf16/utf16.h"

namespace tenapi {

InputFile open_input(const std::string& name) {
  // Opening a folder fails here, so it is reported like any unopened file.
  InputFile file(_wfopen(to_utf16(name, CP_UTF8).c_str(), L"rb"));
  if (!file) return nullptr;
  // NUL, CON, COM1 and the like open, but are no files with lines.
  // The C runtime hands out a file's handle as an integer.
  // NOLINTNEXTLINE(performance-no-int-to-ptr)
  HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file.get())));
  if (GetFileType(handle) != FILE_TYPE_DISK) return nullptr;
  return file;
}

}  // namespace tenapi
