// Windows: file names are UTF-8 inside the program and UTF-16 for the
// system; the console is read and written through its wide character API,
// so that any name typed opens and the screens show in any code page.
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cstdlib>
#include <string>

#include "console/platform.h"

namespace tenapi {

namespace {

constexpr UINT kShiftJis = 932;

// `text` in code page `code_page` as UTF-16; invalid bytes become U+FFFD
// or the like, so a name that holds them never opens.
std::wstring widen(std::string_view text, UINT code_page) {
  int size = static_cast<int>(text.size());
  int count = MultiByteToWideChar(code_page, 0, text.data(), size, nullptr, 0);
  if (count <= 0) return std::wstring();
  std::wstring wide(count, L'\0');
  MultiByteToWideChar(code_page, 0, text.data(), size, &wide[0], count);
  return wide;
}

// UTF-16 as UTF-8.
std::string to_utf8(std::wstring_view wide) {
  int size = static_cast<int>(wide.size());
  int count = WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  if (count <= 0) return std::string();
  std::string text(count, '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, &text[0], count, nullptr, nullptr);
  return text;
}

// True when `handle` is a console.
bool is_console(HANDLE handle) {
  DWORD mode = 0;
  return GetConsoleMode(handle, &mode) != 0;
}

}  // namespace

struct Terminal::State {
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  bool console_input = is_console(input);
  bool console_output = is_console(output);
  // What was typed on the console, as UTF-8, and how much of it was read.
  std::string typed;
  std::size_t pos = 0;
  // A high surrogate whose low half comes with the next read, or 0.
  wchar_t pending = 0;
  bool ended = false;

  // Reads what the user typed next (a line, or as much as fits) into
  // `typed`; sets `ended` at Ctrl+Z or when the console fails.
  void read_console() {
    wchar_t buffer[1024];
    DWORD count = 0;
    typed.clear();
    pos = 0;
    if (!ReadConsoleW(input, buffer, 1024, &count, nullptr) || count == 0) {
      ended = true;
      return;
    }
    std::wstring wide;
    if (pending != 0) wide += pending;
    pending = 0;
    for (DWORD i = 0; i < count; ++i) {
      wchar_t c = buffer[i];
      // Ctrl+Z ends the input; what was typed before it still counts.
      if (c == 0x1A) {
        ended = true;
        break;
      }
      // A line ends in LF alone, as on a console read in text mode.
      if (c == L'\r' && i + 1 < count && buffer[i + 1] == L'\n') continue;
      wide += c;
    }
    if (!ended && !wide.empty() && wide.back() >= 0xD800 && wide.back() < 0xDC00) {
      pending = wide.back();
      wide.pop_back();
    }
    typed = to_utf8(wide);
  }
};

Terminal::Terminal() : state_(new State) {}

Terminal::~Terminal() = default;

int Terminal::read_byte() {
  State& s = *state_;
  // Piped input is read as today's bytes, in text mode.
  if (!s.console_input) return std::getchar();
  while (s.pos == s.typed.size()) {
    if (s.ended) return EOF;
    s.read_console();
  }
  return static_cast<unsigned char>(s.typed[s.pos++]);
}

void Terminal::clear() {
  std::fflush(stdout);
  // The status of "cls" is of no use to the user and is ignored.
  (void)std::system("cls");
}

void Terminal::write(std::string_view text) {
  // Whatever stdout still buffers goes first, so the order stays right.
  std::fflush(stdout);
  if (state_->console_output) {
    std::wstring wide = widen(text, kShiftJis);
    DWORD written = 0;
    if (WriteConsoleW(state_->output, wide.data(), static_cast<DWORD>(wide.size()), &written,
                      nullptr)) {
      return;
    }
  }
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
}

std::string Terminal::file_name(const std::string& word) const {
  if (state_->console_input) return word;
  return to_utf8(widen(word, CP_ACP));
}

std::FILE* open_input(const std::string& name) {
  // Opening a folder fails here, so it is reported like any unopened file.
  std::FILE* file = _wfopen(widen(name, CP_UTF8).c_str(), L"rb");
  if (file == nullptr) return nullptr;
  // NUL, CON, COM1 and the like open, but are no files with lines.
  HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
  if (GetFileType(handle) != FILE_TYPE_DISK) {
    std::fclose(file);
    return nullptr;
  }
  return file;
}

std::FILE* create_new_file(const std::string& name) {
  std::wstring wide = widen(name, CP_UTF8);
  int fd = _wopen(wide.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
  if (fd < 0) return nullptr;
  std::FILE* file = _fdopen(fd, "wb");
  if (file == nullptr) {
    _close(fd);
    _wremove(wide.c_str());
  }
  return file;
}

bool remove_file(const std::string& name) { return _wremove(widen(name, CP_UTF8).c_str()) == 0; }

}  // namespace tenapi
