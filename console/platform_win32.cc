// Windows: the command interpreter clears the console, the console's wide
// character API shows the screens in any code page, _open creates files.
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cstdlib>
#include <string>

#include "console/platform.h"

namespace {

constexpr UINT kShiftJis = 932;

// Shows `text` through the console's wide character API; false when
// standard output is no console, or the text does not convert.
bool write_wide(std::string_view text) {
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD mode = 0;
  // A console already in code page 932 (a Japanese Windows) shows the
  // bytes as they are.
  if (!GetConsoleMode(out, &mode) || GetConsoleOutputCP() == kShiftJis) return false;
  int size = static_cast<int>(text.size());
  int count = MultiByteToWideChar(kShiftJis, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
  if (count <= 0) return false;
  std::wstring wide(count, L'\0');
  MultiByteToWideChar(kShiftJis, MB_ERR_INVALID_CHARS, text.data(), size, &wide[0], count);
  DWORD written = 0;
  return WriteConsoleW(out, wide.data(), count, &written, nullptr) != 0;
}

}  // namespace

void clear_console() {
  std::fflush(stdout);
  // The status of "cls" is of no use to the user and is ignored.
  (void)std::system("cls");
}

void write_text(std::string_view text) {
  // Whatever stdout still buffers goes first, so the order stays right.
  std::fflush(stdout);
  if (write_wide(text)) return;
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
}

std::FILE* open_input(const std::string& path) {
  // Opening a folder fails here, so it is reported like any unopened file.
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return nullptr;
  // NUL, CON, COM1 and the like open, but are no files with lines.
  HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
  if (GetFileType(handle) != FILE_TYPE_DISK) {
    std::fclose(file);
    return nullptr;
  }
  return file;
}

std::FILE* create_new_file(const std::string& path) {
  int fd = _open(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
  if (fd < 0) return nullptr;
  std::FILE* file = _fdopen(fd, "wb");
  if (file == nullptr) {
    _close(fd);
    std::remove(path.c_str());
  }
  return file;
}
