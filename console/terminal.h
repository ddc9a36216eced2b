// The process's standard input and output as the user's console: the part
// of the dialogue that differs between Windows and other systems, in
// terminal-posix.cc and terminal-win32.cc.
#ifndef TENAPI_CONSOLE_TERMINAL_H_
#define TENAPI_CONSOLE_TERMINAL_H_

#include <memory>
#include <string>
#include <string_view>

namespace tenapi {

// The process's standard input and output as the user's console.
class Terminal {
 public:
  Terminal();
  ~Terminal();
  Terminal(const Terminal&) = delete;
  Terminal& operator=(const Terminal&) = delete;

  // The next byte of standard input, or EOF. Piped input comes as its
  // bytes; what is typed on a Windows console comes as UTF-8, each line
  // ending in LF, and Ctrl+Z ends the input.
  int read_byte();

  // Wipes the console window and puts the cursor at its top left corner.
  void clear();

  // Writes code page 932 text and flushes it: converted when standard
  // output is a terminal or console in another encoding, else as it is.
  void write(std::string_view text);

  // The file name that a word read from standard input names: on Windows
  // UTF-8 (piped bytes are in the ANSI code page), elsewhere the bytes.
  std::string file_name(const std::string& word) const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace tenapi

#endif  // TENAPI_CONSOLE_TERMINAL_H_
