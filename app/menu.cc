#include "app/menu.h"

#include <cstdio>
#include <memory>
#include <new>
#include <string>

#include "app/read_loop.h"
#include "console/platform.h"
#include "output/output.h"
#include "translate/translator.h"

namespace tenapi {

namespace {

// Reads the whole input into `lines`; false when memory ran out on the
// way (a line larger than the process may hold).
bool read_all(std::FILE* input, Translator& translator, LineBuffer& lines) {
  try {
    LineReader reader(input);
    read_lines(reader, translator, lines);
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

// Analyses the file named `name` and shows what became of it; true when
// its outline was written.
bool analyse(Console& console, Translator& translator, const std::string& name) {
  std::FILE* input = open_input(name);
  if (input == nullptr) {
    console.show_and_wait(Screen::kNotOpened);
    return false;
  }
  auto lines = std::make_unique<LineBuffer>();
  if (!read_all(input, translator, *lines)) {
    // Reported like a file that does not open; nothing is written.
    std::fclose(input);
    console.show_and_wait(Screen::kNotOpened);
    return false;
  }
  // The input stays open while the outline is written.
  Published written = write_structure(output_path(name), *lines);
  std::fclose(input);
  if (written != Published::kDone) {
    // An existing file and one that cannot be written look the same.
    console.show_and_wait(Screen::kNotWritten);
    return false;
  }
  console.show_and_wait(Screen::kWritten);
  return true;
}

// What the file prompt ended with.
enum class Prompt { kBack, kWritten, kInputEnded };

// Asks for input files until one is analysed or the user types "back".
Prompt run_file_prompts(Console& console, Translator& translator) {
  for (;;) {
    console.show(Screen::kFilePrompt);
    Typed typed;
    if (!console.read_path(typed)) return Prompt::kInputEnded;
    if (!typed.quoted && typed.text == "back") return Prompt::kBack;
    if (analyse(console, translator, console.file_name(typed.text))) return Prompt::kWritten;
  }
}

}  // namespace

int run_menu(Console& console) {
  // One translator for the whole run, never reset: an analysis after a
  // refused write continues from the state that the earlier one left.
  Translator translator;
  for (;;) {
    console.show(Screen::kMenu);
    std::string choice;
    // Input has ended: no answer can ever come, so the program ends quietly.
    if (!console.read_word(choice)) return 0;
    if (choice.find('1') != std::string::npos) {
      if (run_file_prompts(console, translator) != Prompt::kBack) return 0;
    } else if (choice.find('0') != std::string::npos) {
      console.clear();
      return 0;
    } else {
      console.show_and_wait(Screen::kInvalidChoice);
    }
  }
}

}  // namespace tenapi
