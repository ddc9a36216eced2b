#include "app/menu.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>

#include "app/platform.h"
#include "app/read_loop.h"
#include "app/screens.h"
#include "output/output.h"

namespace {

// Reads one blank-delimited word; ends the process quietly when standard
// input has ended, since no answer can ever come.
std::string read_word() {
  std::string word;
  if (!(std::cin >> word)) std::exit(0);
  return word;
}

// Analyses one input file; true when its outline was written.
bool analyse(const std::string& typed) {
  std::FILE* input = open_input(typed);
  if (input == nullptr) {
    screen_code = 3;
    show_screen(screen_code);
    wait_for_enter();
    return false;
  }
  auto lines = std::make_unique<LineBuffer>();
  read_lines(input, *lines);
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
    std::string typed = read_word();
    if (typed == "back") return;
    if (analyse(typed)) {
      screen_code = 5;
      show_screen(screen_code);
      wait_for_enter();
      std::exit(0);
    }
  }
}

}  // namespace

void run_menu() {
  for (;;) {
    screen_code = 1;
    show_screen(screen_code);
    std::string choice = read_word();
    if (choice.find('1') != std::string::npos) {
      run_file_prompts();
    } else if (choice.find('0') != std::string::npos) {
      screen_code = 0;
      show_screen(screen_code);
    } else {
      screen_code = 999;
      show_screen(screen_code);
      wait_for_enter();
    }
  }
}
