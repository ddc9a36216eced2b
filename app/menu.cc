#include "app/menu.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>

#include "app/read_loop.h"
#include "console/platform.h"
#include "console/screens.h"
#include "output/output.h"

namespace {

// Reads one word; ends the process quietly when standard input has ended,
// since no answer can ever come.
std::string next_word() {
  std::string word;
  if (!read_word(word)) std::exit(0);
  return word;
}

// Reads the whole input into `lines`; false when memory ran out on the
// way (a line larger than the process may hold).
bool read_all(std::FILE* input, LineBuffer& lines) {
  try {
    read_lines(input, lines);
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

// Analyses one input file; true when its outline was written.
bool analyse(const std::string& typed) {
  std::FILE* input = open_input(typed);
  if (input == nullptr) {
    show_and_wait(3);
    return false;
  }
  auto lines = std::make_unique<LineBuffer>();
  if (!read_all(input, *lines)) {
    // Reported like a file that does not open; nothing is written.
    std::fclose(input);
    lines.reset();
    show_and_wait(3);
    return false;
  }
  bool written = write_structure(output_path(typed), *lines);
  std::fclose(input);
  return written;
}

// Asks for input files until one is analysed (which ends the process) or
// the user types "back".
void run_file_prompts() {
  for (;;) {
    screen_code = 2;
    show_screen(screen_code);
    std::string typed = next_word();
    if (typed == "back") return;
    if (analyse(typed)) {
      show_and_wait(5);
      std::exit(0);
    }
  }
}

}  // namespace

void run_menu() {
  for (;;) {
    screen_code = 1;
    show_screen(screen_code);
    std::string choice = next_word();
    if (choice.find('1') != std::string::npos) {
      run_file_prompts();
    } else if (choice.find('0') != std::string::npos) {
      screen_code = 0;
      show_screen(screen_code);
    } else {
      show_and_wait(999);
    }
  }
}
