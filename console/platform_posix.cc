// POSIX systems: ANSI escapes clear the terminal, iconv converts the
// screens for it, open(2) creates files.
#include <fcntl.h>
#include <iconv.h>
#include <langinfo.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <clocale>
#include <string>

#include "console/platform.h"

namespace tenapi {

namespace {

// What iconv_open returns on failure, which also stands for "no converter".
const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// A converter from code page 932 to the terminal's encoding, or
// kNoConverter when standard output is no terminal or none can be had.
iconv_t open_converter() {
  if (!isatty(STDOUT_FILENO)) return kNoConverter;
  // The user's locale names the terminal's encoding. It is consulted here
  // alone: the program itself keeps the "C" locale.
  std::setlocale(LC_CTYPE, "");
  std::string codeset = nl_langinfo(CODESET);
  std::setlocale(LC_CTYPE, "C");
  if (codeset == "CP932") return kNoConverter;
  return iconv_open(codeset.c_str(), "CP932");
}

// `text` in the terminal's encoding; false when any byte fails to convert.
bool convert(iconv_t converter, std::string_view text, std::string& out) {
  iconv(converter, nullptr, nullptr, nullptr, nullptr);
  // Four bytes out for each byte in is more than any encoding needs.
  out.assign(text.size() * 4 + 16, '\0');
  char* in = const_cast<char*>(text.data());
  std::size_t in_left = text.size();
  char* to = &out[0];
  std::size_t to_left = out.size();
  if (iconv(converter, &in, &in_left, &to, &to_left) == static_cast<std::size_t>(-1) ||
      iconv(converter, nullptr, nullptr, &to, &to_left) == static_cast<std::size_t>(-1)) {
    return false;
  }
  out.resize(out.size() - to_left);
  return true;
}

}  // namespace

struct Terminal::State {
  // Converts the screens for the terminal; kNoConverter when none is needed.
  iconv_t converter = open_converter();
};

Terminal::Terminal() : state_(new State) {}

Terminal::~Terminal() {
  if (state_->converter != kNoConverter) iconv_close(state_->converter);
}

int Terminal::read_byte() { return std::getchar(); }

void Terminal::clear() {
  // Cursor home, then erase the whole screen.
  std::fputs("\x1b[H\x1b[2J", stdout);
  std::fflush(stdout);
}

void Terminal::write(std::string_view text) {
  std::string converted;
  if (state_->converter != kNoConverter && convert(state_->converter, text, converted)) {
    text = converted;
  }
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
}

std::string Terminal::file_name(const std::string& word) const { return word; }

std::FILE* open_input(const std::string& name) {
  std::FILE* file = std::fopen(name.c_str(), "rb");
  if (file == nullptr) return nullptr;
  // Only files and pipes have lines to read: a folder has none, and a
  // device such as /dev/zero or /dev/tty never ends.
  struct stat info;
  if (fstat(fileno(file), &info) != 0 || !(S_ISREG(info.st_mode) || S_ISFIFO(info.st_mode))) {
    std::fclose(file);
    return nullptr;
  }
  return file;
}

std::FILE* create_new_file(const std::string& name) {
  // A write past a file size limit must fail with an error we can report,
  // not kill the process with SIGXFSZ.
  signal(SIGXFSZ, SIG_IGN);
  int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
  if (fd < 0) return nullptr;
  std::FILE* file = fdopen(fd, "wb");
  if (file == nullptr) {
    close(fd);
    unlink(name.c_str());
  }
  return file;
}

bool remove_file(const std::string& name) { return unlink(name.c_str()) == 0; }

}  // namespace tenapi
