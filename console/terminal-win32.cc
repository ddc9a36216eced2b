// Windows: the console is read and written through its wide character
// API, so that any name typed opens and the screens show in any code page.
#include <windows.h>

#include <cstdio>
#include <string>

#include "console/terminal.h"
#include "utf16/utf16.h"

namespace tenapi {

namespace {

constexpr UINT kShiftJis = 932;

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
  // The console's title when the tool started, put back at its end.
  std::wstring title = std::wstring(1024, L'\0');

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
      if ((ended = c == 0x1A)) break;
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

// The console window's title band names the tool, not the .exe's path; the
// title found is put back at the end, for a learner who started the tool
// from a command prompt. Without a console these calls fail harmlessly.
Terminal::Terminal() : state_(new State) {
  state_->title.resize(GetConsoleTitleW(state_->title.data(), 1024));
  (void)SetConsoleTitleW(L"てなぴ解析システム");
}

Terminal::~Terminal() {
  if (!state_->title.empty()) (void)SetConsoleTitleW(state_->title.c_str());
}

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
  // Output that cannot be shown has nowhere else to go, here and below:
  // the dialogue goes on.
  (void)std::fflush(stdout);
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (state_->console_output && GetConsoleScreenBufferInfo(state_->output, &info)) {
    // The whole buffer emptied and the cursor at its top left, as "cls"
    // leaves it, without a command interpreter (which a school PC may
    // forbid) and without escapes (which an old console prints).
    DWORD cells = static_cast<DWORD>(info.dwSize.X) * static_cast<DWORD>(info.dwSize.Y);
    COORD home = {0, 0};
    DWORD done = 0;
    (void)FillConsoleOutputCharacterW(state_->output, L' ', cells, home, &done);
    (void)FillConsoleOutputAttribute(state_->output, info.wAttributes, cells, home, &done);
    (void)SetConsoleCursorPosition(state_->output, home);
    return;
  }
  // Output that is not a console gets the form feed that "cls" writes there,
  // with no command interpreter started for it.
  (void)std::fputc('\f', stdout);
  (void)std::fflush(stdout);
}

void Terminal::write(std::string_view text) {
  // Whatever stdout still buffers goes first, so the order stays right.
  (void)std::fflush(stdout);
  if (state_->console_output) {
    std::wstring wide = to_utf16(text, kShiftJis);
    DWORD written = 0;
    if (WriteConsoleW(state_->output, wide.data(), static_cast<DWORD>(wide.size()), &written,
                      nullptr)) {
      return;
    }
  }
  (void)std::fwrite(text.data(), 1, text.size(), stdout);
  (void)std::fflush(stdout);
}

std::string Terminal::file_name(const std::string& word) const {
  if (state_->console_input) return word;
  return to_utf8(to_utf16(word, CP_ACP));
}

}  // namespace tenapi
