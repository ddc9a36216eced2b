// The dialogue on a terminal: screens, waits for the Enter key and word
// reads, all over one sequence of input bytes.
#ifndef TENAPI_CONSOLE_CONSOLE_H_
#define TENAPI_CONSOLE_CONSOLE_H_

#include <cstddef>
#include <string>

#include "console/screens.h"
#include "console/terminal.h"

namespace tenapi {

// A word read at a prompt, and whether it was typed in double quotes.
struct Typed {
  std::string text;
  bool quoted = false;
};

// The dialogue on a terminal: screens, waits and word reads, all reading
// one sequence of input bytes.
class Console {
 public:
  explicit Console(Terminal& terminal) : terminal_(terminal) {}

  // Clears the console and prints the screen.
  void show(Screen screen);

  // Clears the console and prints nothing: the end of the program.
  void clear() { terminal_.clear(); }

  // Shows the screen and waits for Enter.
  void show_and_wait(Screen screen);

  // Discards one character, then characters up to a line feed or the end
  // of input.
  void wait_for_enter();

  // Reads one word: skips blanks and line ends, then takes bytes up to the
  // next one, which stays unread. False at end of input.
  bool read_word(std::string& word);

  // Reads a path: a word, or, when the word begins with a double quote
  // that is closed on the same line, what stands between the two quotes,
  // blanks included; reading goes on after the closing quote. The path is
  // the file name it stands for (Terminal::file_name): UTF-8 on Windows.
  // False at end of input.
  bool read_path(Typed& path);

 private:
  // The next input byte, or EOF; bytes put back come first.
  int get();
  // The next input byte that is no blank or line end, or EOF.
  int get_nonblank();
  // Puts bytes back to be read again, before any others.
  void put_back(const std::string& bytes);

  Terminal& terminal_;
  // Bytes read from the terminal and put back, and how many were read again.
  std::string back_;
  std::size_t back_pos_ = 0;
};

}  // namespace tenapi

#endif  // TENAPI_CONSOLE_CONSOLE_H_
