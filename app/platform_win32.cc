// Windows: the command interpreter clears the console, _open creates files.
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cstdlib>

#include "app/platform.h"

void clear_console() {
  std::fflush(stdout);
  // The status of "cls" is of no use to the user and is ignored.
  (void)std::system("cls");
}

std::FILE* open_input(const std::string& path) {
  // Opening a folder fails here, so it is reported like any unopened file.
  return std::fopen(path.c_str(), "rb");
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
