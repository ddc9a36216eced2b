#include "app/menu.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>

#include "app/line_reader.h"
#include "app/platform.h"
#include "app/screens.h"
#include "output/output.h"
#include "translate/pipeline.h"

namespace {

// Reads one blank-delimited word; ends the process quietly when standard
// input has ended, since no answer can ever come.
std::string read_word() {
  std::string word;
  if (!(std::cin >> word)) std::exit(0);
  return word;
}

// Runs every line of the input through the pipeline into the buffer.
void read_lines(std::FILE* input, LineBuffer& lines) {
  auto reader = std::make_unique<LineReader>();
  reader->file = input;
  std::string current;
  std::size_t stored = 0;
  while (next_line(*reader, current)) {
    std::string line = translate_token(classify_line(current));
    if (line == "***") continue;
    line = indent_line(std::move(line));
    // Lines past the buffer's end are never written; they are still
    // translated above so that the pipeline's state stays right.
    if (stored < lines.size()) lines[stored] = std::move(line);
    ++stored;
    carried_line.clear();
  }
}

// Analyses one input file; true when its outline was written.
bool analyse(const std::string& typed) {
  std::string out = typed;
  std::FILE* input = open_input(typed);
  if (input == nullptr) {
    screen_code = 3;
    show_screen(screen_code);
    wait_for_enter();
    return false;
  }
  auto lines = std::make_unique<LineBuffer>();
  read_lines(input, *lines);
  bool written = write_structure(output_path(out), *lines);
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
