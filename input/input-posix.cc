// POSIX systems: regular files and pipes are input.
#include <sys/stat.h>

#include "input/input.h"

namespace tenapi {

InputFile open_input(const std::string& name) {
  InputFile file(std::fopen(name.c_str(), "rb"));
  if (!file) return nullptr;
  // Only files and pipes have lines to read: a folder has none, and a
  // device such as /dev/zero or /dev/tty never ends.
  struct stat info;
  if (fstat(fileno(file.get()), &info) != 0 || !(S_ISREG(info.st_mode) || S_ISFIFO(info.st_mode))) {
    return nullptr;
  }
  return file;
}

}  // namespace tenapi
