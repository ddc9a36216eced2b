#include "app/menu.h"

#include <memory>
#include <new>
#include <string>

#include "app/read_loop.h"
#include "input/input.h"
#include "input/line_reader.h"
#include "output/output.h"
#include "translate/translator.h"

namespace tenapi {

namespace {

// Analyses the file named `name`: the screen that says what became of it.
Screen analyse_file(const std::string& name) {
  // Memory running out means the input could not be read, until the output
  // path is made; from then on, that the outline could not be written.
  Screen no_memory = Screen::kNotOpened;
  try {
    InputFile input = open_input(name);
    if (!input) return Screen::kNotOpened;
    // Each analysis starts from a fresh state: no outline is made from what
    // an earlier file left behind.
    Translator translator;
    auto lines = std::make_unique<Outline>();
    LineReader reader(input.get());
    // A file that cannot be read to its end is reported like one that does
    // not open; nothing is written.
    if (!read_lines(reader, translator, *lines)) return Screen::kNotOpened;
    no_memory = Screen::kNotWritten;
    // The input stays open while the outline is written. An existing file
    // and one that cannot be written look the same.
    Published written = write_structure(output_path(name), *lines);
    return written == Published::kDone ? Screen::kWritten : Screen::kNotWritten;
  } catch (const std::bad_alloc&) {
    // The input file and the new file are released by now.
    return no_memory;
  }
}

// What the file prompt ended with.
enum class Prompt { kBack, kWritten, kInputEnded };

// Asks for input files until one is analysed or the user types "back".
Prompt run_file_prompts(Console& console) {
  for (;;) {
    console.show(Screen::kFilePrompt);
    Typed typed;
    if (!console.read_path(typed)) return Prompt::kInputEnded;
    if (!typed.quoted && typed.text == "back") return Prompt::kBack;
    Screen done = analyse_file(typed.text);
    console.show_and_wait(done);
    if (done == Screen::kWritten) return Prompt::kWritten;
  }
}

}  // namespace

int run_menu(Console& console) {
  for (;;) {
    console.show(Screen::kMenu);
    std::string choice;
    // Input has ended: no answer can ever come, so the program ends quietly.
    if (!console.read_word(choice)) return 0;
    if (choice.find('1') != std::string::npos) {
      if (run_file_prompts(console) != Prompt::kBack) return 0;
    } else if (choice.find('0') != std::string::npos) {
      console.clear();
      return 0;
    } else {
      console.show_and_wait(Screen::kInvalidChoice);
    }
  }
}

}  // namespace tenapi
