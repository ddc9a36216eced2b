// Windows: file names are UTF-8 inside the program and UTF-16 for the
// system; the console is read and written through its wide character API,
// so that any name typed opens and the screens show in any code page. New
// files are moved into place once complete.
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cstdlib>
#include <cwchar>
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

InputFile open_input(const std::string& name) {
  // Opening a folder fails here, so it is reported like any unopened file.
  InputFile file(_wfopen(widen(name, CP_UTF8).c_str(), L"rb"));
  if (!file) return nullptr;
  // NUL, CON, COM1 and the like open, but are no files with lines.
  HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file.get())));
  if (GetFileType(handle) != FILE_TYPE_DISK) return nullptr;
  return file;
}

bool file_exists(const std::string& name) {
  return GetFileAttributesW(widen(name, CP_UTF8).c_str()) != INVALID_FILE_ATTRIBUTES;
}

struct NewFile::State {
  std::wstring name;
  std::wstring temporary;
  std::FILE* stream = nullptr;
};

NewFile::NewFile(const std::string& name) : state_(new State) {
  State& s = *state_;
  s.name = widen(name, CP_UTF8);
  // A name of its own beside the final one, made anew until it is free.
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    wchar_t suffix[40];
    swprintf(suffix, 40, L".incomplete-%08lx%02x",
             static_cast<unsigned long>(GetCurrentProcessId() ^ GetTickCount()), attempt);
    std::wstring temporary = s.name + suffix;
    HANDLE handle = CreateFileW(temporary.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
      if (GetLastError() == ERROR_FILE_EXISTS) continue;
      return;
    }
    int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_BINARY);
    if (fd < 0) {
      CloseHandle(handle);
      DeleteFileW(temporary.c_str());
      return;
    }
    s.stream = _fdopen(fd, "w+b");
    if (s.stream == nullptr) {
      _close(fd);
      DeleteFileW(temporary.c_str());
      return;
    }
    // Moved, not copied: nothing here may fail once the file exists.
    s.temporary = std::move(temporary);
    return;
  }
}

NewFile::~NewFile() {
  State& s = *state_;
  if (s.stream != nullptr) std::fclose(s.stream);
  if (!s.temporary.empty()) DeleteFileW(s.temporary.c_str());
}

std::FILE* NewFile::stream() const { return state_->stream; }

Published NewFile::publish() {
  State& s = *state_;
  if (s.stream == nullptr) return Published::kFailed;
  HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(s.stream)));
  bool flushed = std::fflush(s.stream) == 0 && FlushFileBuffers(handle) != 0;
  // Closed before the move: Windows moves no file that is open.
  bool closed = std::fclose(s.stream) == 0;
  s.stream = nullptr;
  if (!flushed || !closed) return Published::kFailed;
  // Without MOVEFILE_REPLACE_EXISTING the move fails when the name exists.
  if (MoveFileExW(s.temporary.c_str(), s.name.c_str(), MOVEFILE_WRITE_THROUGH)) {
    s.temporary.clear();
    return Published::kDone;
  }
  DWORD error = GetLastError();
  return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ? Published::kExists
                                                                     : Published::kFailed;
}

}  // namespace tenapi
