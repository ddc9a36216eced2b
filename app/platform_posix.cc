// POSIX systems: ANSI escapes clear the terminal, open(2) creates files.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/platform.h"

void clear_console() {
  // Cursor home, then erase the whole screen.
  std::fputs("\x1b[H\x1b[2J", stdout);
  std::fflush(stdout);
}

std::FILE* open_input(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return nullptr;
  // A folder opens for reading here but has no lines: treat it as unopened.
  struct stat info;
  if (fstat(fileno(file), &info) != 0 || S_ISDIR(info.st_mode)) {
    std::fclose(file);
    return nullptr;
  }
  return file;
}

std::FILE* create_new_file(const std::string& path) {
  // A write past a file size limit must fail with an error we can report,
  // not kill the process with SIGXFSZ.
  signal(SIGXFSZ, SIG_IGN);
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
  if (fd < 0) return nullptr;
  std::FILE* file = fdopen(fd, "wb");
  if (file == nullptr) {
    close(fd);
    unlink(path.c_str());
  }
  return file;
}
