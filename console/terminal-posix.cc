// POSIX systems: ANSI escapes clear the terminal, and iconv converts the
// screens for it.
#include <iconv.h>
#include <langinfo.h>
#include <unistd.h>

#include <clocale>
#include <cstdint>
#include <cstdio>
#include <string>

#include "console/terminal.h"

namespace tenapi {

namespace {

// Opens a converter from code page 932 to the terminal's encoding into
// `converter`; false when standard output is no terminal, needs none, or
// none can be had.
bool open_converter(iconv_t& converter) {
  if (!isatty(STDOUT_FILENO)) return false;
  // The user's locale names the terminal's encoding. It is consulted here
  // alone: the program itself keeps the "C" locale. Should the user's
  // locale not load, the "C" locale's codeset is taken, to which no screen
  // converts, and the screens go out as their bytes.
  (void)std::setlocale(LC_CTYPE, "");
  std::string codeset = nl_langinfo(CODESET);
  (void)std::setlocale(LC_CTYPE, "C");
  if (codeset == "CP932") return false;
  converter = iconv_open(codeset.c_str(), "CP932");
  // iconv_open fails with (iconv_t)-1.
  return reinterpret_cast<std::intptr_t>(converter) != -1;
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
  // Converts the screens for the terminal, when `converting` is set.
  iconv_t converter{};
  bool converting = open_converter(converter);
};

Terminal::Terminal() : state_(new State) {}

Terminal::~Terminal() {
  if (state_->converting) (void)iconv_close(state_->converter);
}

int Terminal::read_byte() { return std::getchar(); }

// Cursor home, then erase the whole screen.
void Terminal::clear() { write("\x1b[H\x1b[2J"); }

void Terminal::write(std::string_view text) {
  std::string converted;
  if (state_->converting && convert(state_->converter, text, converted)) text = converted;
  // Output that cannot be shown has nowhere else to go: the dialogue goes on.
  (void)std::fwrite(text.data(), 1, text.size(), stdout);
  (void)std::fflush(stdout);
}

std::string Terminal::file_name(const std::string& word) const { return word; }

}  // namespace tenapi
